#include "platform/tests/contract_backend.h"

namespace platform::tests {

std::vector<std::uint8_t> StringData(const std::u16string& text) {
  std::vector<std::uint8_t> bytes;
  for (char16_t c : text + u'\0') {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

}  // namespace platform::tests
