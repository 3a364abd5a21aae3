#pragma once
// TEdit: one line of text the user types. On screen it is the platform's
// edit window, which paints itself and handles typing; what is typed comes
// back into Text. Taking the focus selects the whole text.

#include <string>
#include <string_view>

#include "ui/win_control.h"

namespace controls {

inline constexpr std::string_view kEditWindow = "Edit";

class TEdit : public ui::WinControl {
 public:
  TEdit();
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);

  // Asks the window to select the whole text (done at its next update).
  void SelectAll();
  // The window's part: whether a selection of the whole text is waiting;
  // asking takes the request.
  bool TakeSelectAll();

  void FocusGained() override;
  bool WantsChars() const override { return true; }
  std::string_view NativeWindowKind() const override { return kEditWindow; }

 private:
  std::string text_;
  bool selectAll_ = false;
};

}  // namespace controls
