#pragma once
// What an unattended check tells the deployment system: a JSON report for
// a script to parse and an event log entry for event forwarding.

#include <string>

#include "app/command_line/unattended_check.h"
#include "platform/event_log.h"

namespace app {

inline constexpr char kProgramVersion[] = "1.0.1.3";
inline constexpr char kEventSource[] = "Quorvex Remover";

// The report, UTF-8 JSON ending in a line feed.
std::string CheckReportJson(const CheckRun& run, const std::string& machineName);

// The event entry: information when nothing was found, a warning when
// something was, an error when something was left in place.
platform::EventType CheckEventType(const CheckRun& run);
// One line from the totals.
std::string CheckSummary(const CheckRun& run);

}  // namespace app
