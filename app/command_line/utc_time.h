#pragma once
// Seconds since 1970 UTC as people read them.

#include <cstdint>
#include <string>

namespace app {

// "2026-12-10 00:00:00"
std::string FormatUtc(std::int64_t seconds);
// "2026-12-10T00:00:00Z", as reports for other programs write it.
std::string FormatIsoUtc(std::int64_t seconds);

}  // namespace app
