#pragma once

#include "platform/event_log.h"

namespace platform::win32 {

class Win32EventLog : public EventLog {
 public:
  bool Report(const std::string& source, EventType type, const std::string& text) override;
};

}  // namespace platform::win32
