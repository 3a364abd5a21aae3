#include "ui/win_control.h"

#include <algorithm>

#include "ui/class_info.h"
#include "ui/form.h"
#include "ui/publish.h"
#include "ui/window_system.h"

namespace ui {

const ClassInfo& WinControl::StaticClass() {
  static const ClassInfo info(
      "TWinControl", &Control::StaticClass(),
      Publish<WinControl>()
          .Integer("TabOrder", &WinControl::TabOrder, &WinControl::SetTabOrder, std::nullopt, -1,
                   INT32_MAX)
          .Boolean("TabStop", &WinControl::TabStop, &WinControl::SetTabStop, false)
          .EventOf("OnEnter", &WinControl::OnEnter)
          .EventOf("OnExit", &WinControl::OnExit)
          .Done());
  return info;
}

WinControl::WinControl() = default;

WinControl::~WinControl() {
  // Children outlive nothing they sit in: they are taken off first.
  while (!children_.empty()) children_.back()->SetParent(nullptr);
}

void WinControl::Insert(Control& child) {
  children_.push_back(&child);
  if (auto* windowed = dynamic_cast<WinControl*>(&child)) tabList_.push_back(windowed);
}

void WinControl::Remove(Control& child) {
  children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), &child), tabList_.end());
}

int WinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void WinControl::SetTabOrder(int order) {
  if (!Parent() || order < 0) return;
  auto& list = Parent()->tabList_;
  list.erase(std::find(list.begin(), list.end(), this));
  const auto at = std::min<std::size_t>(static_cast<std::size_t>(order), list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
}

bool WinControl::Focused() const {
  const WindowSystem* windows = Windows();
  return windows && const_cast<WindowSystem*>(windows)->Focused() == this;
}

bool WinControl::CanFocus() const {
  const Form* form = ParentForm();
  if (!form) return false;
  for (const Control* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

bool WinControl::SetFocus() {
  WindowSystem* windows = Windows();
  if (!windows || !CanFocus()) return false;
  return windows->SetFocus(*this);
}

void WinControl::FocusGained() { OnEnter(*this); }
void WinControl::FocusLost() { OnExit(*this); }
bool WinControl::KeyDown(int, ShiftState) { return false; }

}  // namespace ui
