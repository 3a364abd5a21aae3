// A shortcut's target item list, which the shell hands the icon guard from
// any file an attacker placed: the inspection reads it with its length.

#include <cstddef>
#include <cstdint>

#include "iconguard/core/link_inspection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  iconguard::IsLinkIdListSafe(data, size);
  return 0;
}
