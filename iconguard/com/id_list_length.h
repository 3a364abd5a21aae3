#pragma once
// Byte length of an item identifier list handed out by the system.

#include <cstddef>
#include <cstdint>

namespace iconguard::com {

// A shortcut stores its target list behind a 16-bit size, so no list read
// from one is longer; the walk never goes past that many bytes.
inline constexpr std::size_t kMaxIdListBytes = 0xFFFF;

// Length of the list including its terminating zero `cb`. A list that does
// not end within kMaxIdListBytes, or holds an item shorter than its size
// field, is cut before the first item that cannot be stepped over.
std::size_t IdListLength(const std::uint8_t* list);

}  // namespace iconguard::com
