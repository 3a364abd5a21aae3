#pragma once
// The system's Application event log, where event forwarding collects what
// unattended runs did.

#include <cstdint>
#include <string>

namespace platform {

// The values of EVENTLOG_ERROR_TYPE, EVENTLOG_WARNING_TYPE and
// EVENTLOG_INFORMATION_TYPE.
enum class EventType : std::uint16_t { Error = 1, Warning = 2, Information = 4 };

class EventLog {
 public:
  virtual ~EventLog() = default;
  // RegisterEventSource for `source` on this machine, one ReportEvent with
  // `text` as its only string, DeregisterEventSource; false when the entry
  // could not be written.
  virtual bool Report(const std::string& source, EventType type, const std::string& text) = 0;
};

}  // namespace platform
