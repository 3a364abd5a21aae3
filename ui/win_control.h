#pragma once
// A windowed control: it has a window of its own, holds child controls
// (painted and hit in their order, the last on top), and can take the
// keyboard focus in the tab order of its parent.

#include <cstddef>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace ui {

// The kinds of system window the window systems offer (see
// WinControl::NativeWindowKind); others register their own.
inline constexpr std::string_view kPushButtonWindow = "PushButton";

class WinControl : public Control {
 public:
  WinControl();
  ~WinControl() override;

  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }

  std::size_t ControlCount() const { return children_.size(); }
  Control& Controls(std::size_t index) const { return *children_.at(index); }

  // The position among the parent's windowed children in the tab cycle;
  // setting it moves the control there (clamped to the last position).
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
  // The windowed children in tab order.
  const std::vector<WinControl*>& TabList() const { return tabList_; }

  // Lays the aligned children out in the client area: top ones first (in
  // child order, each below the last), then bottom, left and right ones,
  // and the client-aligned ones fill what is left. Hidden ones take no room.
  void Realign();

  bool Focused() const;
  // Visible and enabled, it and every parent up to a form.
  bool CanFocus() const;
  // False when the control cannot take the focus or the window system refused.
  bool SetFocus();

  Event<void(Component&)> OnEnter;
  Event<void(Component&)> OnExit;

  // From the window system.
  // The control's window now exists.
  virtual void WindowCreated() {}
  virtual void FocusGained();
  virtual void FocusLost();
  // A key pressed while this control has the focus; true when handled.
  virtual bool KeyDown(int key, ShiftState shift);
  // Whether typed characters are this control's own input (text entry);
  // otherwise the form offers them round its controls as accelerators.
  virtual bool WantsChars() const { return false; }
  // The kind of ready-made system window the control lives in, which then
  // paints itself and takes the mouse itself; empty for a window of the
  // window system's own, painted by the painters it is given.
  virtual std::string_view NativeWindowKind() const { return {}; }

 private:
  friend class Control;
  void Insert(Control& child);
  void Remove(Control& child);

  void Resized() override { Realign(); }

  std::vector<Control*> children_;
  std::vector<WinControl*> tabList_;
  bool tabStop_ = false;
  bool aligning_ = false;
};

}  // namespace ui
