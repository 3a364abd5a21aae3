#pragma once
// Pixel tests under Wine: GDI paints into a 32-bit top-down DIB section and
// the test reads the exact pixels back as colour values (0x00BBGGRR).

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/colour.h"
#include "ui/win32/canvas.h"

namespace ui::win32::testing {

class PixelSurface {
 public:
  PixelSurface(int width, int height, Colour fill = 0x00FFFFFF);

  Canvas& GetCanvas() { return canvas_; }
  HDC Handle() const { return canvas_.Handle(); }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // What GDI has painted so far (pending drawing is flushed first).
  Colour At(int x, int y) const;
  std::vector<Colour> Pixels() const;

 private:
  int width_;
  int height_;
  void* bits_ = nullptr;
  Bitmap bitmap_;
  MemoryCanvas canvas_;
};

// "" when every pixel of `surface` is what `expected(x, y)` says; otherwise
// the first few differences, as "(x,y) got 0x... want 0x...".
std::string Mismatches(const PixelSurface& surface,
                       const std::function<Colour(int x, int y)>& expected);

// A 32-bit top-down DIB section of `pixels`, row after row.
Bitmap MakeBitmap(int width, int height, const std::vector<Colour>& pixels);

// Every pixel of a bitmap of any format, row after row from the top. The
// bitmap must not be selected into a device context.
std::vector<Colour> ReadPixels(const Bitmap& bitmap);

}  // namespace ui::win32::testing
