#include "controls/gpanel/gpanel.h"

#include "ui/class_info.h"
#include "ui/publish.h"

namespace controls {

const ui::ClassInfo& TGPanel::StaticClass() {
  static const ui::ClassInfo info(
      "TGPanel", &TPanel::StaticClass(),
      ui::Publish<TGPanel>()
          .Boolean("Active", &TGPanel::Active, &TGPanel::SetActive, true)
          .Colour("Color_1", &TGPanel::Color_1, &TGPanel::SetColor_1, 0x8000000Fu)
          .Colour("Color_2", &TGPanel::Color_2, &TGPanel::SetColor_2, 0x00FFFFFFu)
          .Colour("Color_3", &TGPanel::Color_3, &TGPanel::SetColor_3, 0x00FFFF00u)
          .Boolean("Horizontal", &TGPanel::Horizontal, &TGPanel::SetHorizontal, true)
          .Integer("Percent", &TGPanel::Percent, &TGPanel::SetPercent, 100)
          .Done());
  return info;
}

void TGPanel::SetActive(bool on) {
  active_ = on;
  Invalidate();
}

void TGPanel::SetColor_1(ui::Colour colour) {
  gradient_.Color_1 = colour;
  Invalidate();
}

void TGPanel::SetColor_2(ui::Colour colour) {
  gradient_.Color_2 = colour;
  Invalidate();
}

void TGPanel::SetColor_3(ui::Colour colour) {
  gradient_.Color_3 = colour;
  Invalidate();
}

void TGPanel::SetHorizontal(bool on) {
  gradient_.Horizontal = on;
  Invalidate();
}

void TGPanel::SetPercent(int percent) {
  gradient_.Percent = ClampPercent(percent);
  Invalidate();
}

ui::Rect TGPanel::GradientArea() const {
  const int inset = BevelInset();
  return {inset, inset, Width() - inset, Height() - inset};
}

std::vector<GradientBand> TGPanel::Bands(
    const std::function<ui::Colour(ui::Colour)>& resolve) const {
  if (!active_) return {};
  return GradientBands(GradientArea(), gradient_, resolve);
}

}  // namespace controls
