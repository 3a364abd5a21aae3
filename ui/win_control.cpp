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
  if (child.Align() != TAlign::alNone) Realign();
}

void WinControl::Remove(Control& child) {
  children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), &child), tabList_.end());
  if (child.Align() != TAlign::alNone) Realign();
}

void WinControl::Realign() {
  // Placing a child changes its bounds, which would ask for this again.
  if (aligning_) return;
  aligning_ = true;
  Rect rest = ClientRect();
  auto place = [&](TAlign which) {
    for (Control* child : children_) {
      if (child->Align() != which || !child->Visible()) continue;
      const int width = std::max(0, rest.Width());
      const int height = std::max(0, rest.Height());
      switch (which) {
        case TAlign::alTop:
          child->SetBounds(rest.left, rest.top, width, child->Height());
          rest.top += child->Height();
          break;
        case TAlign::alBottom:
          child->SetBounds(rest.left, rest.bottom - child->Height(), width, child->Height());
          rest.bottom -= child->Height();
          break;
        case TAlign::alLeft:
          child->SetBounds(rest.left, rest.top, child->Width(), height);
          rest.left += child->Width();
          break;
        case TAlign::alRight:
          child->SetBounds(rest.right - child->Width(), rest.top, child->Width(), height);
          rest.right -= child->Width();
          break;
        case TAlign::alClient:
          child->SetBounds(rest.left, rest.top, width, height);
          break;
        case TAlign::alNone:
          break;
      }
    }
  };
  for (const TAlign which :
       {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    place(which);
  }
  aligning_ = false;
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
