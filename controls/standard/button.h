#pragma once
// TButton: the system's own push button, with a default and a cancel role
// and a modal result for its form. On screen it is the platform's push
// button window, which paints itself and turns the mouse into clicks.

#include <string>

#include "ui/win_control.h"

namespace controls {

class TButton : public ui::WinControl {
 public:
  TButton();
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Default() const { return default_; }
  // A default button looks so on screen.
  void SetDefault(bool on);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool on) { cancel_ = on; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

  // The form gets the modal result first, then OnClick runs.
  void Click() override;
  // Enter clicks a default button while no other push button has the
  // focus (or this one has); Escape clicks a cancel button; both only with
  // no shift key held and when the button can take the focus.
  bool DialogKey(int key, ui::ShiftState shift) override;
  bool KeyDown(int key, ui::ShiftState shift) override;
  std::string_view NativeWindowKind() const override { return ui::kPushButtonWindow; }

 private:
  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
};

}  // namespace controls
