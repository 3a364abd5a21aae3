#pragma once
// Pictures of what the screen shows: a rectangle of the screen read back
// with BitBlt from the screen's device context, and saved as a 24-bit BMP.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

class Picture {
 public:
  Picture(int width, int height, std::vector<std::uint32_t> pixels);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixel as a colour value 0x00BBGGRR.
  COLORREF At(int x, int y) const;
  // The pixels as a DIB holds them, 0x00RRGGBB, top row first.
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

// Throws std::runtime_error when the screen cannot be read.
Picture CaptureScreen(const RECT& screen);
// The whole window, frame included.
Picture CaptureWindow(HWND window);
// The client area only, with client coordinates.
Picture CaptureClient(HWND window);

// Throws std::runtime_error when the file cannot be written.
void SaveBmp(const Picture& picture, const std::wstring& path);

}  // namespace e2e
