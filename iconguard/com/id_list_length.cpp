#include "iconguard/com/id_list_length.h"

namespace iconguard::com {

std::size_t IdListLength(const std::uint8_t* list) {
  std::size_t offset = 0;
  while (offset + 2 <= kMaxIdListBytes) {
    const std::size_t cb = list[offset] | (static_cast<std::size_t>(list[offset + 1]) << 8);
    if (cb == 0) return offset + 2;
    if (cb < 2 || cb > kMaxIdListBytes - offset) break;
    offset += cb;
  }
  return offset;
}

}  // namespace iconguard::com
