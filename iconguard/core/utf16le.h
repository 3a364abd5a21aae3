#pragma once
// UTF-16LE bytes of wide text, as the registry stores string data.

#include <cstdint>
#include <string_view>
#include <vector>

namespace iconguard {

enum class Terminator { Omit, Append };

inline std::vector<std::uint8_t> Utf16LeBytes(std::u16string_view text, Terminator terminator) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() * 2 + 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  if (terminator == Terminator::Append) bytes.insert(bytes.end(), 2, 0);
  return bytes;
}

}  // namespace iconguard
