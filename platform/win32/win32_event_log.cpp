#include "platform/win32/win32_event_log.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

bool Win32EventLog::Report(const std::string& source, EventType type, const std::string& text) {
  const HANDLE log = RegisterEventSourceW(nullptr, ToWide(source).c_str());
  if (log == nullptr) return false;
  const std::wstring wide = ToWide(text);
  const wchar_t* strings[] = {wide.c_str()};
  // Event 1 of category 0: the source's one kind of entry, its text whole.
  const BOOL reported = ReportEventW(log, static_cast<WORD>(type), 0, 1, nullptr, 1, 0, strings,
                                     nullptr);
  DeregisterEventSource(log);
  return reported != 0;
}

}  // namespace platform::win32
