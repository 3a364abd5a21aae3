#pragma once
// A scan context over an in-memory machine whose Windows directory is
// C:\WINDOWS, and the bytes of the shortcut files the drive scan looks for.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory/memory_machine.h"
#include "scanner/scan_context.h"

namespace scanner::testing {

struct MemoryScan {
  platform::memory::MemoryMachine memory;
  ScanContext context{memory.machine(), "C:\\WINDOWS"};
};

// A shortcut whose target list starts with My Computer and then the Control
// Panel at the tested positions, zero-padded to `size` bytes (at least 118).
inline std::vector<std::uint8_t> ControlPanelShortcut(std::size_t size = 200) {
  static constexpr std::uint8_t kMyComputer[16] = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A,
                                                   0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00,
                                                   0x2B, 0x30, 0x30, 0x9D};
  static constexpr std::uint8_t kControlPanel[16] = {0x20, 0x20, 0xEC, 0x21, 0xEA, 0x3A,
                                                     0x69, 0x10, 0xA2, 0xDD, 0x08, 0x00,
                                                     0x2B, 0x30, 0x30, 0x9D};
  std::vector<std::uint8_t> bytes(size, 0);
  bytes[0] = 0x4C;
  bytes[20] = 0x01;
  for (std::size_t i = 0; i < 16; ++i) {
    bytes[82 + i] = kMyComputer[i];
    bytes[102 + i] = kControlPanel[i];
  }
  return bytes;
}

// `size` bytes starting with `head`, the rest zero.
inline std::vector<std::uint8_t> BytesStartingWith(const std::string& head, std::size_t size) {
  std::vector<std::uint8_t> bytes(size, 0);
  for (std::size_t i = 0; i < head.size() && i < size; ++i) bytes[i] = static_cast<std::uint8_t>(head[i]);
  return bytes;
}

}  // namespace scanner::testing
