#include "quarantine/item_format.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quarantine {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'Q', 'R', 'Q', 'I'};
constexpr std::array<std::uint8_t, 4> kEndMagic = {'Q', 'E', 'N', 'D'};
constexpr std::uint16_t kVersion = 1;
constexpr std::array<std::uint8_t, 16> kMask = {0xA7, 0x3C, 0x91, 0x5E, 0xD2, 0x08, 0x6B, 0xF4,
                                                0x1D, 0xC9, 0x72, 0x35, 0xE0, 0x8F, 0x46, 0xBB};

void Put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t Get(const std::uint8_t* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i) value |= std::uint64_t{bytes[i]} << (8 * i);
  return value;
}

}  // namespace

std::vector<std::uint8_t> EncodeHeader(const ItemHeader& header) {
  std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
  Put(out, kVersion, 2);
  Put(out, static_cast<std::uint16_t>(header.kind), 2);
  Put(out, static_cast<std::uint64_t>(header.time), 8);
  Put(out, header.attributes, 4);
  Put(out, header.originalPath.size(), 4);
  out.insert(out.end(), header.originalPath.begin(), header.originalPath.end());
  return out;
}

std::vector<std::uint8_t> EncodeTrailer(const ItemTrailer& trailer) {
  std::vector<std::uint8_t> out;
  Put(out, trailer.payloadSize, 8);
  out.insert(out.end(), trailer.sha256.begin(), trailer.sha256.end());
  out.insert(out.end(), kEndMagic.begin(), kEndMagic.end());
  return out;
}

std::optional<ItemHeader> DecodeFixedHeader(const std::uint8_t* bytes,
                                            std::uint32_t* pathLength) {
  if (!std::equal(kMagic.begin(), kMagic.end(), bytes) || Get(bytes + 4, 2) != kVersion) {
    return std::nullopt;
  }
  ItemHeader header;
  const auto kind = Get(bytes + 6, 2);
  if (kind != static_cast<std::uint16_t>(ItemKind::File) &&
      kind != static_cast<std::uint16_t>(ItemKind::Key)) {
    return std::nullopt;
  }
  header.kind = static_cast<ItemKind>(kind);
  header.time = static_cast<std::int64_t>(Get(bytes + 8, 8));
  header.attributes = static_cast<std::uint32_t>(Get(bytes + 16, 4));
  *pathLength = static_cast<std::uint32_t>(Get(bytes + 20, 4));
  if (*pathLength == 0 || *pathLength > kMaxPathBytes) return std::nullopt;
  return header;
}

std::optional<ItemTrailer> DecodeTrailer(const std::uint8_t* bytes) {
  if (!std::equal(kEndMagic.begin(), kEndMagic.end(), bytes + 40)) return std::nullopt;
  ItemTrailer trailer;
  trailer.payloadSize = Get(bytes, 8);
  std::copy_n(bytes + 8, 32, trailer.sha256.begin());
  return trailer;
}

void Mask(std::uint8_t* bytes, std::size_t count, std::uint64_t offset) {
  for (std::size_t i = 0; i < count; ++i) bytes[i] ^= kMask[(offset + i) % kMask.size()];
}

}  // namespace quarantine
