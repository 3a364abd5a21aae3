#pragma once
// Judges a shortcut's target item list: a target inside the Control Panel
// reached through My Computer is the rootkit's infection vector.

#include <cstddef>
#include <cstdint>

namespace iconguard {

// A shortcut file stores its target list behind a 16-bit size, so no list
// read from one is longer than this.
inline constexpr std::size_t kMaxLinkIdListBytes = 0xFFFF;

// True when the list is harmless, false when the shortcut must be blocked.
// `length` is the number of readable bytes at `list`; items that claim to
// run past it are never read beyond it. A null list is harmless.
bool IsLinkIdListSafe(const std::uint8_t* list, std::size_t length);

}  // namespace iconguard
