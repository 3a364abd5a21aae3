#include "controls/standard/splitter.h"

#include <algorithm>

#include "ui/class_info.h"
#include "ui/publish.h"
#include "ui/win_control.h"

namespace controls {

const ui::ClassInfo& TSplitter::StaticClass() {
  static const ui::ClassInfo info(
      "TSplitter", &ui::Control::StaticClass(),
      ui::Publish<TSplitter>()
          .Integer("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize, 30, 1, 32767)
          .EventOf("OnMoved", &TSplitter::OnMoved)
          .Redeclare("Align", ui::Value(static_cast<std::int64_t>(ui::TAlign::alLeft)))
          .Redeclare("Width", ui::Value(std::int64_t{3}))
          .Done());
  return info;
}

TSplitter::TSplitter() {
  SetBounds(0, 0, 3, 100);
  SetAlign(ui::TAlign::alLeft);
}

ui::Control* TSplitter::ResizedControl() const {
  const ui::WinControl* parent = Parent();
  if (parent == nullptr) return nullptr;
  for (std::size_t i = 0; i < parent->ControlCount(); ++i) {
    ui::Control& sibling = parent->Controls(i);
    if (&sibling == this || !sibling.Visible() || sibling.Align() != Align()) continue;
    if (Align() == ui::TAlign::alLeft && sibling.Left() + sibling.Width() == Left())
      return &sibling;
    if (Align() == ui::TAlign::alRight && sibling.Left() == Left() + Width()) return &sibling;
  }
  return nullptr;
}

void TSplitter::MouseDown(ui::TMouseButton button, ui::ShiftState shift, ui::Point at) {
  Control::MouseDown(button, shift, at);
  if (button != ui::TMouseButton::mbLeft) return;
  ui::Control* control = ResizedControl();
  if (control == nullptr) return;
  const int parentWidth = Parent()->ClientRect().Width();
  // What lies beyond the splitter, on the side away from the control.
  const int beyond = Align() == ui::TAlign::alLeft ? parentWidth - (Left() + Width()) : Left();
  drag_ = {control, Left() + at.x, control->Width(),
           std::max(minSize_, control->Width() + beyond - minSize_), false};
}

void TSplitter::MouseMove(ui::ShiftState shift, ui::Point at) {
  Control::MouseMove(shift, at);
  if (drag_.control == nullptr) return;
  // The splitter moves with the control: the point is taken in the parent.
  const int offset = Left() + at.x - drag_.startX;
  const int wanted = drag_.startWidth + (Align() == ui::TAlign::alLeft ? offset : -offset);
  const int width = std::clamp(wanted, minSize_, drag_.widest);
  if (width == drag_.control->Width()) return;
  drag_.control->SetWidth(width);
  drag_.moved = true;
}

void TSplitter::MouseUp(ui::TMouseButton button, ui::ShiftState shift, ui::Point at) {
  Control::MouseUp(button, shift, at);
  if (button != ui::TMouseButton::mbLeft || drag_.control == nullptr) return;
  const bool moved = drag_.moved && drag_.control->Width() != drag_.startWidth;
  drag_ = {};
  if (moved) OnMoved(*this);
}

}  // namespace controls
