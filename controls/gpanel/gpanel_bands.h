#pragma once
// The gradient of TGPanel as solid bands: where each band lies and which
// colour it has. The panel's painter fills them; the arithmetic is here so
// it can be tested without a canvas.

#include <functional>
#include <vector>

#include "ui/colour.h"
#include "ui/geometry.h"

namespace controls {

struct GradientBand {
  ui::Rect rect;
  ui::Colour colour;  // RGB, 0x00BBGGRR
  friend bool operator==(const GradientBand&, const GradientBand&) = default;
};

struct Gradient {
  ui::Colour Color_1 = 0x8000000F;
  ui::Colour Color_2 = 0x00FFFFFF;
  ui::Colour Color_3 = 0x00FFFF00;
  bool Horizontal = true;
  int Percent = 100;
};

// What `Percent` becomes when set: below 1 is 1, above 99 is 100.
int ClampPercent(int percent);

// The bands covering `area` (the client area inside the bevels), in the
// order they are filled. `resolve` turns a colour value into RGB (system
// colours looked up). A segment whose two stored colours are equal is left
// out; one whose colours differ as stored but resolve to the same RGB is a
// single band of that colour.
std::vector<GradientBand> GradientBands(const ui::Rect& area, const Gradient& gradient,
                                        const std::function<ui::Colour(ui::Colour)>& resolve);

}  // namespace controls
