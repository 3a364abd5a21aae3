#include "ui/bitmap.h"

#include <cstdlib>

#include "ui/class_info.h"

namespace ui {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
// No glyph or picture of this program comes near it; it keeps the size
// arithmetic below far from overflow.
constexpr std::int64_t kMaxSide = 0x4000;

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

}  // namespace

const ClassInfo& Bitmap::StaticClass() {
  static const ClassInfo info("TBitmap", nullptr, {});
  return info;
}

bool Bitmap::LoadFromFile(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize) return false;
  if (file[0] != 'B' || file[1] != 'M') return false;
  const std::uint32_t pixelOffset = U32(file, 10);
  const std::uint32_t headerSize = U32(file, 14);
  if (headerSize < kInfoHeaderSize || headerSize > file.size() - kFileHeaderSize) return false;
  const auto width = static_cast<std::int32_t>(U32(file, 18));
  const auto height = static_cast<std::int32_t>(U32(file, 22));
  const std::uint16_t planes = U16(file, 26);
  const std::uint16_t bits = U16(file, 28);
  const std::uint32_t compression = U32(file, 30);
  std::uint32_t colours = U32(file, 46);
  if (planes != 1 || width <= 0 || height == 0) return false;
  const std::int64_t rows = std::llabs(static_cast<std::int64_t>(height));
  if (width > kMaxSide || rows > kMaxSide) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (compression != kBiRgb && !(compression == kBiBitfields && (bits == 16 || bits == 32))) {
    return false;
  }
  if (bits <= 8) {
    if (colours == 0) colours = 1u << bits;
    if (colours > (1u << bits)) return false;
  } else if (compression == kBiBitfields) {
    colours = 3;  // the three masks stand where a palette would
  }
  const std::uint64_t tableEnd = kFileHeaderSize + std::uint64_t{headerSize} + 4ull * colours;
  const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
  const std::uint64_t pixelEnd = std::uint64_t{pixelOffset} + stride * static_cast<std::uint64_t>(rows);
  if (tableEnd > file.size() || pixelOffset < tableEnd || pixelEnd > file.size()) return false;

  file_.assign(file.begin(), file.end());
  width_ = width;
  height_ = static_cast<int>(rows);
  bitsPerPixel_ = bits;
  Changed();
  return true;
}

bool Bitmap::LoadFromResource(std::span<const std::uint8_t> resource) {
  if (resource.size() < kInfoHeaderSize) return false;
  const std::uint32_t headerSize = U32(resource, 0);
  const std::uint16_t bits = U16(resource, 14);
  const std::uint32_t compression = U32(resource, 16);
  std::uint32_t colours = U32(resource, 32);
  if (headerSize < kInfoHeaderSize || headerSize > resource.size()) return false;
  // The pixels follow the header and the colour table directly.
  if (bits <= 8 && bits > 0) {
    if (colours == 0) colours = 1u << bits;
  } else if (compression == kBiBitfields) {
    colours = 3;
  }
  if (colours > 256) return false;
  const std::uint64_t offset = kFileHeaderSize + std::uint64_t{headerSize} + 4ull * colours;
  const std::uint64_t total = kFileHeaderSize + resource.size();
  if (total > 0xFFFFFFFFull) return false;
  std::vector<std::uint8_t> file(kFileHeaderSize);
  file[0] = 'B';
  file[1] = 'M';
  for (int i = 0; i < 4; ++i) {
    file[2 + i] = static_cast<std::uint8_t>(total >> (8 * i));
    file[10 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
  }
  file.insert(file.end(), resource.begin(), resource.end());
  return LoadFromFile(file);
}

void Bitmap::Clear() {
  if (Empty()) return;
  file_.clear();
  width_ = height_ = bitsPerPixel_ = 0;
  Changed();
}

void Bitmap::Assign(const Bitmap& other) {
  if (&other == this) return;
  file_ = other.file_;
  width_ = other.width_;
  height_ = other.height_;
  bitsPerPixel_ = other.bitsPerPixel_;
  Changed();
}

void Bitmap::Changed() const {
  if (OnChange) OnChange();
}

}  // namespace ui
