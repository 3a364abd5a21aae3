#pragma once
// TSplitter: a strip between two aligned controls that the user drags to
// resize the one beside it: aligned left, it resizes the left-aligned
// control that ends where it begins; aligned right, the right-aligned one
// that begins where it ends. Neither that control nor the space beyond the
// splitter becomes narrower than MinSize. OnMoved follows every drag that
// changed the size.

#include "ui/control.h"
#include "ui/event.h"

namespace controls {

class TSplitter : public ui::Control {
 public:
  TSplitter();
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  int MinSize() const { return minSize_; }
  void SetMinSize(int size) { minSize_ = size; }

  ui::Event<void(ui::Component&)> OnMoved;

  // The control a drag resizes; null when none lies beside the splitter.
  ui::Control* ResizedControl() const;

  void MouseDown(ui::TMouseButton button, ui::ShiftState shift, ui::Point at) override;
  void MouseMove(ui::ShiftState shift, ui::Point at) override;
  void MouseUp(ui::TMouseButton button, ui::ShiftState shift, ui::Point at) override;

 private:
  struct Drag {
    ui::Control* control = nullptr;
    int startX = 0;  // in the parent's client coordinates
    int startWidth = 0;
    int widest = 0;  // the width that leaves MinSize beyond the splitter
    bool moved = false;
  };

  int minSize_ = 30;
  Drag drag_;
};

}  // namespace controls
