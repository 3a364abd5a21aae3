#include "iconguard/core/link_inspection.h"

#include <cstring>

namespace iconguard {
namespace {

constexpr std::size_t kRootItemSize = 20;
constexpr std::size_t kClassIdOffset = 4;
constexpr std::size_t kClassIdSize = 16;

// {20D04FE0-3AEA-1069-A2D8-08002B30309D} in its in-memory byte order.
constexpr std::uint8_t kMyComputer[kClassIdSize] = {0xe0, 0x4f, 0xd0, 0x20, 0xea, 0x3a,
                                                    0x69, 0x10, 0xa2, 0xd8, 0x08, 0x00,
                                                    0x2b, 0x30, 0x30, 0x9d};
// {21EC2020-3AEA-1069-A2DD-08002B30309D}
constexpr std::uint8_t kControlPanel[kClassIdSize] = {0x20, 0x20, 0xec, 0x21, 0xea, 0x3a,
                                                      0x69, 0x10, 0xa2, 0xdd, 0x08, 0x00,
                                                      0x2b, 0x30, 0x30, 0x9d};

}  // namespace

bool IsLinkIdListSafe(const std::uint8_t* list, std::size_t length) {
  if (list == nullptr) return true;
  const std::uint8_t* const expected[2] = {kMyComputer, kControlPanel};
  std::size_t offset = 0;
  for (int index = 0;; ++index) {
    // A size field cut off by the end of the data reads as the end of the
    // list: nothing beyond what we were given is ever looked at.
    if (length - offset < 2) return true;
    const std::size_t cb = list[offset] | (std::size_t{list[offset + 1]} << 8);
    if (cb == 0) return true;
    // Only the existence of a third item matters, not its size or content.
    if (index == 2) return false;
    if (cb != kRootItemSize) return true;
    // A 20-byte item whose identifier cannot be read whole cannot be the
    // root item we look for.
    if (length - offset < kRootItemSize) return true;
    if (std::memcmp(list + offset + kClassIdOffset, expected[index], kClassIdSize) != 0) {
      return true;
    }
    offset += cb;
  }
}

}  // namespace iconguard
