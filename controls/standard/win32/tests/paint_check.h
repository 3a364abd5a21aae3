#pragma once
// What the painters' pixel tests share: where a colour lies on a painted
// surface, text extents in a control's font, and pictures as file bytes.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ui/bitmap.h"
#include "ui/colour.h"
#include "ui/font.h"
#include "ui/font_description.h"
#include "ui/geometry.h"
#include "ui/win32/canvas.h"
#include "ui/win32/testing/pixel_surface.h"

namespace paint_check {

using ui::Colour;
using ui::win32::testing::PixelSurface;

// A colour no painter here uses: a pixel the paint misses keeps it.
inline constexpr Colour kUntouched = 0x00FE01FE;

// Where the pixels that `match` lie within `within`: the bounding box
// (empty when nowhere) and their number.
struct Ink {
  ui::Rect box{0, 0, 0, 0};
  int count = 0;
  bool Empty() const { return count == 0; }
};

inline Ink InkWhere(const PixelSurface& surface, const std::function<bool(Colour)>& match,
                    ui::Rect within) {
  Ink ink;
  for (int y = within.top; y < within.bottom; ++y) {
    for (int x = within.left; x < within.right; ++x) {
      if (!match(surface.At(x, y))) continue;
      if (ink.count++ == 0) {
        ink.box = {x, y, x + 1, y + 1};
      } else {
        ink.box = {std::min(ink.box.left, x), std::min(ink.box.top, y),
                   std::max(ink.box.right, x + 1), std::max(ink.box.bottom, y + 1)};
      }
    }
  }
  return ink;
}

inline ui::Rect All(const PixelSurface& surface) {
  return {0, 0, surface.Width(), surface.Height()};
}

// The pixels of exactly `colour`.
inline Ink InkOf(const PixelSurface& surface, Colour colour) {
  return InkWhere(surface, [colour](Colour c) { return c == colour; }, All(surface));
}

// Whatever was drawn over `background`: text is smoothed, so its edges
// are blends of the text colour and what lies below.
inline Ink Marks(const PixelSurface& surface, Colour background) {
  return InkWhere(surface, [background](Colour c) { return c != background; }, All(surface));
}

// The pixels of `surface` (within `within`) that are none of `allowed`, as
// "(x,y) 0x..." for the first few; "" when there are none.
inline std::string Others(const PixelSurface& surface, const std::vector<Colour>& allowed,
                          ui::Rect within) {
  std::string report;
  int found = 0;
  for (int y = within.top; y < within.bottom; ++y) {
    for (int x = within.left; x < within.right; ++x) {
      const Colour c = surface.At(x, y);
      if (std::find(allowed.begin(), allowed.end(), c) != allowed.end()) continue;
      if (found++ < 6) {
        char text[48];
        std::snprintf(text, sizeof text, "(%d,%d) 0x%06X; ", x, y, static_cast<unsigned>(c));
        report += text;
      }
    }
  }
  if (found > 6) report += std::to_string(found) + " in all";
  return report;
}

inline std::string Others(const PixelSurface& surface, const std::vector<Colour>& allowed) {
  return Others(surface, allowed, {0, 0, surface.Width(), surface.Height()});
}

// One line of `text` in `font` as GDI measures it on the screen.
inline ui::Size Extent(const ui::Font& font, const std::string& text) {
  ui::win32::MemoryCanvas canvas(nullptr, nullptr);
  canvas.SetFont(ui::Describe(font));
  return canvas.TextExtent(text);
}

inline Colour System(int index) { return GetSysColor(index) & 0x00FFFFFF; }

// A picture as the controls hold one: the bytes of a bitmap file with
// `bits` per pixel. For 24 bits `pixels` are colours (0x00BBGGRR); for 1
// or 8 bits they are indices into `palette` (colours too). Top row first.
inline ui::Bitmap Picture(int width, int height, int bits, const std::vector<Colour>& palette,
                          const std::vector<std::uint32_t>& pixels) {
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  const std::size_t offset = 14 + 40 + 4 * palette.size();
  std::vector<std::uint8_t> file(offset + stride * height, 0);
  auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  // Files store colours as blue, green, red.
  auto bgr = [](Colour c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
  file[0] = 'B';
  file[1] = 'M';
  put(2, static_cast<std::uint32_t>(file.size()), 4);
  put(10, static_cast<std::uint32_t>(offset), 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, static_cast<std::uint32_t>(bits), 2);
  put(46, static_cast<std::uint32_t>(palette.size()), 4);  // a palette of only these
  for (std::size_t i = 0; i < palette.size(); ++i) put(54 + 4 * i, bgr(palette[i]), 4);
  for (int y = 0; y < height; ++y) {
    // Bottom-up: the file's first row is the picture's last.
    const std::size_t row = offset + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y * width + x)];
      if (bits == 24) {
        put(row + 3 * static_cast<std::size_t>(x), bgr(p), 3);
      } else if (bits == 8) {
        file[row + static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(p);
      } else if (p != 0) {
        file[row + static_cast<std::size_t>(x) / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  ui::Bitmap picture;
  EXPECT_TRUE(picture.LoadFromFile(file));
  return picture;
}

}  // namespace paint_check
