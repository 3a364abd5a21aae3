#include "app/e2e/screenshot.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "app/e2e/top_windows.h"
#include "platform/win32/wide_text.h"

namespace e2e {

Picture::Picture(int width, int height, std::vector<std::uint32_t> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {}

COLORREF Picture::At(int x, int y) const {
  const std::uint32_t pixel = pixels_.at(static_cast<std::size_t>(y) * width_ + x);
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

Picture CaptureScreen(const RECT& screen) {
  const int width = screen.right - screen.left;
  const int height = screen.bottom - screen.top;
  if (width <= 0 || height <= 0) throw std::runtime_error("an empty rectangle has no picture");
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  const HDC screenDc = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screenDc);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool copied = false;
  std::vector<std::uint32_t> pixels;
  if (memory != nullptr && bitmap != nullptr) {
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    copied = BitBlt(memory, 0, 0, width, height, screenDc, screen.left, screen.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    pixels.assign(first, first + static_cast<std::size_t>(width) * height);
    SelectObject(memory, previous);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (memory != nullptr) DeleteDC(memory);
  ReleaseDC(nullptr, screenDc);
  if (!copied) throw std::runtime_error("cannot read the screen");
  for (std::uint32_t& pixel : pixels) pixel &= 0x00FFFFFF;
  return Picture(width, height, std::move(pixels));
}

Picture CaptureWindow(HWND window) { return CaptureScreen(ScreenRect(window)); }

Picture CaptureClient(HWND window) {
  const SIZE size = ClientSize(window);
  const POINT origin = ToScreen(window, {0, 0});
  return CaptureScreen({origin.x, origin.y, origin.x + size.cx, origin.y + size.cy});
}

void SaveBmp(const Picture& picture, const std::wstring& path) {
  const int width = picture.Width();
  const int height = picture.Height();
  const int stride = (width * 3 + 3) & ~3;
  const DWORD imageSize = static_cast<DWORD>(stride) * height;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageSize;
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom row first, as BMP readers expect
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = imageSize;

  std::vector<char> rows(imageSize, 0);
  for (int y = 0; y < height; ++y) {
    char* row = rows.data() + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = picture.Pixels()[static_cast<std::size_t>(y) * width + x];
      row[3 * x] = static_cast<char>(pixel & 0xFF);
      row[3 * x + 1] = static_cast<char>((pixel >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<char>((pixel >> 16) & 0xFF);
    }
  }
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(rows.data(), static_cast<std::streamsize>(rows.size()));
  if (!out) throw std::runtime_error("cannot write " + platform::win32::ToUtf8(path));
}

}  // namespace e2e
