#pragma once
// TGPanel: a panel whose client area inside the bevels is covered by a
// banded linear gradient of two or three colours.

#include <functional>
#include <vector>

#include "controls/gpanel/gpanel_bands.h"
#include "controls/standard/panel.h"

namespace controls {

class TGPanel : public TPanel {
 public:
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  // Each setter stores and repaints, also when the value is unchanged.
  bool Active() const { return active_; }
  void SetActive(bool on);
  ui::Colour Color_1() const { return gradient_.Color_1; }
  void SetColor_1(ui::Colour colour);
  ui::Colour Color_2() const { return gradient_.Color_2; }
  void SetColor_2(ui::Colour colour);
  ui::Colour Color_3() const { return gradient_.Color_3; }
  void SetColor_3(ui::Colour colour);
  bool Horizontal() const { return gradient_.Horizontal; }
  void SetHorizontal(bool on);
  int Percent() const { return gradient_.Percent; }
  // Below 1 becomes 1, above 99 becomes 100.
  void SetPercent(int percent);

  // The area inside the bevels that the gradient covers.
  ui::Rect GradientArea() const;
  // The bands to fill over the base panel; none while not Active.
  std::vector<GradientBand> Bands(const std::function<ui::Colour(ui::Colour)>& resolve) const;

 private:
  bool active_ = true;
  Gradient gradient_;
};

}  // namespace controls
