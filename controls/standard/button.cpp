#include "controls/standard/button.h"

#include "ui/class_info.h"
#include "ui/form.h"
#include "ui/publish.h"
#include "ui/window_system.h"

namespace controls {

const ui::ClassInfo& TButton::StaticClass() {
  static const ui::ClassInfo info(
      "TButton", &ui::WinControl::StaticClass(),
      ui::Publish<TButton>()
          .Text("Caption", &TButton::Caption, &TButton::SetCaption, std::string())
          .Boolean("Default", &TButton::Default, &TButton::SetDefault, false)
          .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
          .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0)
          .Redeclare("TabStop", ui::Value(true))
          .Done());
  return info;
}

TButton::TButton() {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TButton::SetDefault(bool on) {
  if (on == default_) return;
  default_ = on;
  Changed();
}

void TButton::Click() {
  if (ui::Form* form = ParentForm()) form->SetModalResult(modalResult_);
  WinControl::Click();
}

bool TButton::DialogKey(int key, ui::ShiftState shift) {
  if (!shift.None() || !CanFocus()) return WinControl::DialogKey(key, shift);
  if (key == ui::kVkEscape && cancel_) {
    Click();
    return true;
  }
  if (key == ui::kVkReturn) {
    ui::WindowSystem* windows = Windows();
    const ui::WinControl* focused = windows ? windows->Focused() : nullptr;
    const bool anotherButtonFocused =
        focused && focused != this && dynamic_cast<const TButton*>(focused) != nullptr;
    if ((default_ && !anotherButtonFocused) || focused == this) {
      Click();
      return true;
    }
  }
  return WinControl::DialogKey(key, shift);
}

bool TButton::KeyDown(int key, ui::ShiftState shift) {
  // The focused push button answers Space itself.
  if (key == ui::kVkSpace && shift.None()) {
    Click();
    return true;
  }
  return WinControl::KeyDown(key, shift);
}

}  // namespace controls
