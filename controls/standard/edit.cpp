#include "controls/standard/edit.h"

#include <utility>

#include "ui/class_info.h"
#include "ui/publish.h"

namespace controls {

const ui::ClassInfo& TEdit::StaticClass() {
  static const ui::ClassInfo info("TEdit", &ui::WinControl::StaticClass(),
                                  ui::Publish<TEdit>()
                                      .Text("Text", &TEdit::Text, &TEdit::SetText, std::string())
                                      .Redeclare("TabStop", ui::Value(true))
                                      .Done());
  return info;
}

TEdit::TEdit() {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
}

void TEdit::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  Changed();
}

void TEdit::SelectAll() {
  selectAll_ = true;
  Changed();
}

bool TEdit::TakeSelectAll() { return std::exchange(selectAll_, false); }

void TEdit::FocusGained() {
  SelectAll();
  WinControl::FocusGained();
}

}  // namespace controls
