#include "ui/win32/testing/pixel_surface.h"

#include <cstdio>
#include <stdexcept>

namespace ui::win32::testing {

namespace {

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// DIB pixels are 0x00RRGGBB; colour values 0x00BBGGRR.
Colour FromDib(std::uint32_t pixel) {
  return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

std::uint32_t ToDib(Colour colour) { return FromDib(colour); }

HBITMAP MakeDib(int width, int height, void** bits) {
  const BITMAPINFO info = TopDown32(width, height);
  HBITMAP handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
  if (handle == nullptr) throw std::runtime_error("CreateDIBSection failed");
  return handle;
}

}  // namespace

PixelSurface::PixelSurface(int width, int height, Colour fill)
    : width_(width),
      height_(height),
      bitmap_(MakeDib(width, height, &bits_)),
      canvas_(nullptr, bitmap_) {
  canvas_.FillRect(Rect{0, 0, width, height}, fill);
}

Colour PixelSurface::At(int x, int y) const {
  GdiFlush();
  return FromDib(static_cast<const std::uint32_t*>(bits_)[y * width_ + x]);
}

std::vector<Colour> PixelSurface::Pixels() const {
  GdiFlush();
  const auto* bits = static_cast<const std::uint32_t*>(bits_);
  std::vector<Colour> pixels(bits, bits + width_ * height_);
  for (Colour& pixel : pixels) pixel = FromDib(pixel);
  return pixels;
}

std::string Mismatches(const PixelSurface& surface,
                       const std::function<Colour(int x, int y)>& expected) {
  const std::vector<Colour> pixels = surface.Pixels();
  std::string report;
  int shown = 0;
  int differing = 0;
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) {
      const Colour got = pixels[static_cast<std::size_t>(y) * surface.Width() + x];
      const Colour want = expected(x, y);
      if (got == want) continue;
      ++differing;
      if (shown++ < 8) {
        char line[64];
        std::snprintf(line, sizeof(line), "(%d,%d) got 0x%06X want 0x%06X; ", x, y,
                      static_cast<unsigned>(got), static_cast<unsigned>(want));
        report += line;
      }
    }
  }
  if (differing > shown) report += std::to_string(differing) + " pixels differ";
  return report;
}

Bitmap MakeBitmap(int width, int height, const std::vector<Colour>& pixels) {
  void* bits = nullptr;
  Bitmap bitmap(MakeDib(width, height, &bits));
  auto* out = static_cast<std::uint32_t*>(bits);
  for (std::size_t i = 0; i < pixels.size() && i < static_cast<std::size_t>(width * height); ++i) {
    out[i] = ToDib(pixels[i]);
  }
  return bitmap;
}

std::vector<Colour> ReadPixels(const Bitmap& bitmap) {
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  BITMAPINFO info = TopDown32(width, height);
  std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * height);
  HDC screen = GetDC(nullptr);
  const int rows =
      GetDIBits(screen, bitmap.Handle(), 0, height, bits.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != height) throw std::runtime_error("GetDIBits failed");
  std::vector<Colour> pixels(bits.size());
  for (std::size_t i = 0; i < bits.size(); ++i) pixels[i] = FromDib(bits[i]);
  return pixels;
}

}  // namespace ui::win32::testing
