#include "ui/control.h"

#include <stdexcept>

#include "ui/class_info.h"
#include "ui/form.h"
#include "ui/publish.h"
#include "ui/win_control.h"
#include "ui/window_system.h"

namespace ui {

const ClassInfo& Control::StaticClass() {
  static const ClassInfo info(
      "TControl", &Component::StaticClass(),
      Publish<Control>()
          .Integer("Left", &Control::Left, &Control::SetLeft, 0)
          .Integer("Top", &Control::Top, &Control::SetTop, 0)
          .Integer("Width", &Control::Width, &Control::SetWidth, std::nullopt, 0, INT32_MAX)
          .Integer("Height", &Control::Height, &Control::SetHeight, std::nullopt, 0, INT32_MAX)
          .Enumeration("Align", &Control::Align, &Control::SetAlign,
                       {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"},
                       TAlign::alNone)
          .Boolean("Enabled", &Control::Enabled, &Control::SetEnabled, true)
          .Boolean("Visible", &Control::Visible, &Control::SetVisible, true)
          .Object("Font", &Control::GetFont, Font::StaticClass())
          .Colour("Color", &Control::Color, &Control::SetColor, kColourBtnFace)
          .Text("Hint", &Control::Hint, &Control::SetHint, std::string())
          .Boolean("ShowHint", &Control::ShowHint, &Control::SetShowHint, false)
          .Enumeration("Cursor", &Control::Cursor, &Control::SetCursor,
                       {"crDefault", "crArrow", "crHandPoint", "crIBeam"}, TCursor::crDefault)
          .EventOf("OnClick", &Control::OnClick)
          .EventOf("OnDblClick", &Control::OnDblClick)
          .EventOf("OnMouseDown", &Control::OnMouseDown)
          .EventOf("OnMouseMove", &Control::OnMouseMove)
          .EventOf("OnMouseUp", &Control::OnMouseUp)
          .Done());
  return info;
}

Control::Control() {
  font_.OnChange = [this] { FontChanged(); };
}

Control::~Control() { SetParent(nullptr); }

void Control::SetParentComponent(Component& parent) {
  auto* container = dynamic_cast<WinControl*>(&parent);
  if (!container) throw std::invalid_argument(Name() + " cannot sit in " + parent.Name());
  SetParent(container);
}

void Control::SetParent(WinControl* parent) {
  if (parent == parent_) return;
  for (WinControl* p = parent; p; p = p->Parent()) {
    if (p == this) throw std::invalid_argument(Name() + " cannot sit in itself");
  }
  if (parent_) {
    if (WindowSystem* windows = Windows()) windows->Removed(*this);
    parent_->Remove(*this);
  }
  parent_ = parent;
  if (parent_) {
    parent_->Insert(*this);
    Changed();
  }
}

Form* Control::ParentForm() const { return parent_ ? parent_->ParentForm() : nullptr; }

WindowSystem* Control::Windows() const {
  const Form* form = ParentForm();
  return form ? &form->System() : nullptr;
}

void Control::SetBounds(int left, int top, int width, int height) {
  if (width < 0 || height < 0) throw std::invalid_argument("a size cannot be negative");
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
  if (resized) Resized();
  RealignParent();
}

void Control::RealignParent() {
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void Control::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->Realign();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
  EnabledChanged();
}

bool Control::EnabledInForm() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed();
  RealignParent();
}

void Control::SetColor(Colour color) {
  if (color == color_) return;
  color_ = color;
  Invalidate();
}

void Control::Invalidate() {
  if (WindowSystem* windows = Windows()) windows->Invalidate(*this);
}

void Control::Changed() {
  if (WindowSystem* windows = Windows()) windows->Update(*this);
}

void Control::Click() { OnClick(*this); }

void Control::MouseDown(TMouseButton button, ShiftState shift, Point at) {
  if (button == TMouseButton::mbLeft) {
    clicking_ = true;
    WindowSystem* windows = Windows();
    if (auto* windowed = dynamic_cast<WinControl*>(this); windowed && windows) {
      windows->SetCapture(*windowed);
    }
  }
  OnMouseDown(*this, button, shift, at.x, at.y);
}

void Control::MouseMove(ShiftState shift, Point at) { OnMouseMove(*this, shift, at.x, at.y); }

void Control::MouseUp(TMouseButton button, ShiftState shift, Point at) {
  if (button == TMouseButton::mbLeft) {
    WindowSystem* windows = Windows();
    if (windows && windows->Captured() == this) windows->ReleaseCapture();
    if (clicking_) {
      clicking_ = false;
      const Rect client = ClientRect();
      if (at.x >= client.left && at.x < client.right && at.y >= client.top &&
          at.y < client.bottom) {
        Click();
      }
    }
  }
  OnMouseUp(*this, button, shift, at.x, at.y);
}

bool Control::DialogKey(int, ShiftState) { return false; }
bool Control::DialogChar(char32_t) { return false; }

}  // namespace ui
