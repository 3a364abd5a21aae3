#pragma once
// A visual control: bounds inside its parent, alignment, enabled and
// visible state, font and colour, and the mouse input every control shares
// (click tracking: a left press and a release inside it is a click).

#include <cstdint>
#include <string>

#include "ui/colour.h"
#include "ui/component.h"
#include "ui/event.h"
#include "ui/font.h"
#include "ui/geometry.h"
#include "ui/input.h"

namespace ui {

class Form;
class WinControl;
class WindowSystem;

enum class TAlign : std::int32_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TCursor : std::int32_t { crDefault, crArrow, crHandPoint, crIBeam };

class Control : public Component {
 public:
  Control();
  ~Control() override;

  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }
  bool IsVisualControl() const override { return true; }
  // Nested in a stored form: the enclosing object becomes the parent, and
  // it must be a windowed control.
  void SetParentComponent(Component& parent) override;

  WinControl* Parent() const { return parent_; }
  void SetParent(WinControl* parent);
  // The form the control sits on (itself for a form), or null.
  virtual Form* ParentForm() const;
  // The window system of that form; null while the control is on none.
  WindowSystem* Windows() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  virtual void SetBounds(int left, int top, int width, int height);
  Rect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual Rect ClientRect() const { return {0, 0, width_, height_}; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Enabled itself and every parent up to the form.
  bool EnabledInForm() const;
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  Font* GetFont() { return &font_; }
  const Font& FontOf() const { return font_; }
  Colour Color() const { return color_; }
  void SetColor(Colour color);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool show) { showHint_ = show; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }

  Event<void(Component&)> OnClick;
  Event<void(Component&)> OnDblClick;
  Event<void(Component&, TMouseButton, ShiftState, int, int)> OnMouseDown;
  Event<void(Component&, ShiftState, int, int)> OnMouseMove;
  Event<void(Component&, TMouseButton, ShiftState, int, int)> OnMouseUp;

  // Asks for the control to be painted again.
  void Invalidate();
  // The click: OnClick.
  virtual void Click();

  // Input from the window system, in client coordinates. The base handling
  // fires the events; a left press starts click tracking (and, for a
  // windowed control, takes the mouse capture), the left release ends it,
  // releases the capture and clicks when it lies inside the control.
  virtual void MouseDown(TMouseButton button, ShiftState shift, Point at);
  virtual void MouseMove(ShiftState shift, Point at);
  virtual void MouseUp(TMouseButton button, ShiftState shift, Point at);
  // A key the form offers every control in turn (Enter, Escape, Alt+F4 ...)
  // and a character that may be an accelerator; true when handled.
  virtual bool DialogKey(int key, ShiftState shift);
  virtual bool DialogChar(char32_t character);
  // The form's focused control changed.
  virtual void FocusChanged() {}
  virtual void EnabledChanged() { Invalidate(); }

 protected:
  // Bounds, visibility, enabled state or text changed: the window follows.
  void Changed();
  virtual void FontChanged() { Invalidate(); }
  // The size changed (containers lay their children out again).
  virtual void Resized() {}
  // An aligned control's parent lays its children out again.
  void RealignParent();

 private:
  WinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool enabled_ = true;
  bool visible_ = true;
  Font font_;
  Colour color_ = kColourBtnFace;
  std::string hint_;
  bool showHint_ = false;
  TCursor cursor_ = TCursor::crDefault;
  bool clicking_ = false;
};

}  // namespace ui
