#include "ui/win32/bitmap_file.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace ui::win32 {
namespace {

constexpr std::size_t kFileHeaderSize = 14;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

}  // namespace

Bitmap FromFile(const ui::Bitmap& picture) {
  if (picture.Empty()) return {};
  // ui::Bitmap has checked that headers, palette and pixels lie inside the file.
  const std::vector<std::uint8_t>& file = picture.FileBytes();
  const std::uint32_t pixelOffset = U32(file, 10);

  // The info header with its palette or colour masks, copied out so that
  // GDI reads it aligned (it starts at an odd offset in the file).
  std::vector<DWORD> info((pixelOffset - kFileHeaderSize + sizeof(DWORD) - 1) / sizeof(DWORD));
  std::memcpy(info.data(), file.data() + kFileHeaderSize, pixelOffset - kFileHeaderSize);

  void* bits = nullptr;
  HBITMAP handle = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                    DIB_RGB_COLORS, &bits, nullptr, 0);
  if (handle == nullptr || bits == nullptr) {
    if (handle != nullptr) DeleteObject(handle);
    throw GdiError("CreateDIBSection failed");
  }
  const std::size_t stride =
      (static_cast<std::size_t>(picture.Width()) * picture.BitsPerPixel() + 31) / 32 * 4;
  std::memcpy(bits, file.data() + pixelOffset, stride * static_cast<std::size_t>(picture.Height()));
  return Bitmap(handle);
}

}  // namespace ui::win32
