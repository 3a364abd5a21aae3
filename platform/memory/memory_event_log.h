#pragma once
// An event log that keeps every entry for the tests to read.

#include <string>
#include <vector>

#include "platform/event_log.h"

namespace platform::memory {

struct EventEntry {
  std::string source;
  EventType type;
  std::string text;
};

class MemoryEventLog : public EventLog {
 public:
  bool Report(const std::string& source, EventType type, const std::string& text) override {
    entries.push_back({source, type, text});
    return true;
  }
  std::vector<EventEntry> entries;
};

}  // namespace platform::memory
