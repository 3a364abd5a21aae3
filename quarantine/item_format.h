#pragma once
// The layout of one quarantine item, a file of its own:
//
//   header   "QRQI", version (u16), kind (u16), time (i64, seconds since
//            1970 UTC), attributes (u32), path length (u32), the original
//            path (UTF-8)
//   payload  what was removed, masked: a stored driver neither starts with
//            "MZ" nor reads as a shortcut, so nothing runs or parses it
//   trailer  payload size (u64), SHA-256 of the unmasked payload, "QEND"
//
// All numbers little-endian. The checksum follows the payload so that an
// item is written in one pass, however large the file it holds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quarantine/sha256.h"

namespace quarantine {

enum class ItemKind : std::uint16_t { File = 1, Key = 2 };

struct ItemHeader {
  ItemKind kind = ItemKind::File;
  std::int64_t time = 0;
  std::uint32_t attributes = 0;
  std::string originalPath;
};

struct ItemTrailer {
  std::uint64_t payloadSize = 0;
  Digest sha256{};
};

inline constexpr std::size_t kFixedHeaderSize = 24;
inline constexpr std::size_t kTrailerSize = 44;
// Longer than any Windows path in UTF-8.
inline constexpr std::uint32_t kMaxPathBytes = 3 * 32768;

std::vector<std::uint8_t> EncodeHeader(const ItemHeader& header);
std::vector<std::uint8_t> EncodeTrailer(const ItemTrailer& trailer);

// The fixed part of a header; nullopt unless magic, version and kind are
// right. `pathLength` receives the length of the path that follows.
std::optional<ItemHeader> DecodeFixedHeader(const std::uint8_t* bytes,
                                            std::uint32_t* pathLength);
std::optional<ItemTrailer> DecodeTrailer(const std::uint8_t* bytes);

// Masks or unmasks payload bytes that begin at `offset` within the payload.
void Mask(std::uint8_t* bytes, std::size_t count, std::uint64_t offset);

}  // namespace quarantine
