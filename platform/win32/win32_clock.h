#pragma once
// The system's time of day.

#include "platform/clock.h"

namespace platform::win32 {

class Win32Clock : public Clock {
 public:
  std::int64_t UtcSeconds() override;
};

}  // namespace platform::win32
