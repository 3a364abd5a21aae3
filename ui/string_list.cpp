#include "ui/string_list.h"

#include "ui/class_info.h"

namespace ui {

const ClassInfo& StringList::StaticClass() {
  static const ClassInfo info("TStrings", nullptr, {});
  return info;
}

void StringList::SetLine(std::size_t index, const std::string& text) {
  lines_.at(index) = text;
  Changed();
}

void StringList::Add(const std::string& text) {
  lines_.push_back(text);
  Changed();
}

void StringList::Clear() {
  lines_.clear();
  Changed();
}

void StringList::SetLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  Changed();
}

void StringList::Changed() const {
  if (OnChange) OnChange();
}

}  // namespace ui
