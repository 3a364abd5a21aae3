#include "controls/gpanel/gpanel_bands.h"

#include <algorithm>
#include <cstdlib>

namespace controls {
namespace {

int Channel(ui::Colour rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

// One segment from `from` to `to`, starting `offset` along the axis and
// `length` long; every division rounds toward zero, as C++'s does.
void AddSegment(const ui::Rect& area, bool horizontal, int offset, int length, ui::Colour from,
                ui::Colour to, const std::function<ui::Colour(ui::Colour)>& resolve,
                std::vector<GradientBand>& bands) {
  if (from == to || length <= 0) return;
  const int across = horizontal ? area.Height() : area.Width();
  auto band = [&](int start, int size, ui::Colour colour) {
    const int at = offset + start;
    const ui::Rect rect = horizontal
                              ? ui::Rect{area.left + at, area.top, area.left + at + size,
                                         area.top + across}
                              : ui::Rect{area.left, area.top + at, area.left + across,
                                         area.top + at + size};
    bands.push_back({rect, colour});
  };

  const ui::Colour a = resolve(from);
  const ui::Colour b = resolve(to);
  constexpr int kShifts[3] = {0, 8, 16};  // red, green, blue
  int start[3];
  int difference[3];
  int largest = 0;
  for (int c = 0; c < 3; ++c) {
    start[c] = 100 * Channel(a, kShifts[c]);
    difference[c] = 100 * (Channel(b, kShifts[c]) - Channel(a, kShifts[c]));
    largest = std::max(largest, std::abs(difference[c]));
  }
  if (largest == 0) {
    // Two names for one colour: no steps to take, one plain band.
    band(0, length, a);
    return;
  }

  const int width = length * 100 > largest ? ((largest / 100 + length - 1) * 100) / largest : 1;
  const int count = length / width;
  if (count <= 0) return;
  for (int k = 0; k <= count; ++k) {
    const int size = (k + 1) * width > length ? length - k * width : width;
    ui::Colour colour = 0;
    for (int c = 0; c < 3; ++c) {
      const int value = start[c] / 100 + ((difference[c] / count) * k) / 100;
      colour |= static_cast<ui::Colour>(value & 0xFF) << kShifts[c];
    }
    band(k * width, size, colour);
  }
}

}  // namespace

int ClampPercent(int percent) {
  if (percent < 1) return 1;
  if (percent > 99) return 100;
  return percent;
}

std::vector<GradientBand> GradientBands(const ui::Rect& area, const Gradient& gradient,
                                        const std::function<ui::Colour(ui::Colour)>& resolve) {
  std::vector<GradientBand> bands;
  const int length = gradient.Horizontal ? area.Width() : area.Height();
  if (gradient.Percent >= 100) {
    AddSegment(area, gradient.Horizontal, 0, length, gradient.Color_1, gradient.Color_2, resolve,
               bands);
    return bands;
  }
  const int first = std::max(1, length * gradient.Percent / 100);
  AddSegment(area, gradient.Horizontal, 0, first, gradient.Color_1, gradient.Color_2, resolve,
             bands);
  AddSegment(area, gradient.Horizontal, first, length - first, gradient.Color_2,
             gradient.Color_3, resolve, bands);
  return bands;
}

}  // namespace controls
