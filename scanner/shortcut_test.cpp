#include "scanner/shortcut_test.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace scanner {
namespace {

// {20D04FE0-3AEA-1069-A2D8-08002B30309D} and {21EC2020-3AEA-1069-A2DD-08002B30309D}
// as a GUID is stored in the file.
constexpr std::array<std::uint8_t, 16> kMyComputer = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A,
                                                      0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00,
                                                      0x2B, 0x30, 0x30, 0x9D};
constexpr std::array<std::uint8_t, 16> kControlPanel = {0x20, 0x20, 0xEC, 0x21, 0xEA, 0x3A,
                                                        0x69, 0x10, 0xA2, 0xDD, 0x08, 0x00,
                                                        0x2B, 0x30, 0x30, 0x9D};
constexpr std::size_t kMyComputerOffset = 82;
constexpr std::size_t kControlPanelOffset = 102;
constexpr std::size_t kBytesTested = kControlPanelOffset + kControlPanel.size();
// A shortcut holding the tested positions is longer than this.
constexpr std::uint64_t kMinimumSizeExcluded = 128;

bool HasAt(const std::vector<std::uint8_t>& bytes, std::size_t offset,
           const std::array<std::uint8_t, 16>& expected) {
  return std::equal(expected.begin(), expected.end(), bytes.begin() + offset);
}

}  // namespace

bool IsMaliciousShortcut(ScanContext& context, const std::string& path) {
  if (path.empty()) return false;
  try {
    // Only the size and the tested bytes are read, so a huge file costs no
    // memory and is still judged like any other.
    const auto head = context.machine.files.ReadHead(path, kBytesTested);
    if (!head || head->size <= kMinimumSizeExcluded) return false;
    const std::vector<std::uint8_t>& bytes = head->bytes;
    if (bytes.size() < kBytesTested) return false;
    if (bytes[0] != 0x4C) return false;
    if ((bytes[20] & 0x01) == 0) return false;
    return HasAt(bytes, kMyComputerOffset, kMyComputer) &&
           HasAt(bytes, kControlPanelOffset, kControlPanel);
  } catch (...) {
    return false;
  }
}

}  // namespace scanner
