#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace platform::win32 {
namespace {

// FILETIME counts 100 ns steps from 1601; this many seconds lie before 1970.
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

}  // namespace

std::int64_t Win32Clock::UtcSeconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const auto ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10000000) - kSecondsFrom1601To1970;
}

}  // namespace platform::win32
