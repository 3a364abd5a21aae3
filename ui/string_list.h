#pragma once
// An ordered list of text lines held behind a component's list property
// (list items, memo lines, name=value tables).

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ui/persistent.h"

namespace ui {

class StringList : public Persistent {
 public:
  // Every list class derives from this one; the localizer recognises list
  // properties by it.
  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }

  std::size_t Count() const { return lines_.size(); }
  const std::string& Line(std::size_t index) const { return lines_.at(index); }
  void SetLine(std::size_t index, const std::string& text);
  void Add(const std::string& text);
  void Clear();
  const std::vector<std::string>& Lines() const { return lines_; }
  void SetLines(std::vector<std::string> lines);
  void Assign(const StringList& other) { SetLines(other.lines_); }

  // Called after every change.
  std::function<void()> OnChange;

 private:
  void Changed() const;

  std::vector<std::string> lines_;
};

}  // namespace ui
