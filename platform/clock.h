#pragma once
// The time of day, for records that say when something happened.

#include <cstdint>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970-01-01 00:00 UTC.
  virtual std::int64_t UtcSeconds() = 0;
};

}  // namespace platform
