// A blocked shortcut's path of any length and content: its MD5 record name
// from the OEM form, the threat record and the response, on the memory
// registry and shell. The first byte picks Marrowind installed or not and
// the user's answer.

#include <cstddef>
#include <cstdint>
#include <string>

#include "iconguard/core/threat_response.h"
#include "platform/memory/memory_machine.h"
#include "platform/memory/memory_wide_shell.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::u16string path;
  for (std::size_t at = 1; at + 1 < size; at += 2) {
    path += static_cast<char16_t>(data[at] | (data[at + 1] << 8));
  }
  platform::memory::MemoryRegistry registry;
  platform::memory::MemoryWideShell shell;
  if (data[0] & 1) {
    registry.SetString(platform::kLocalMachine, "Software\\Halvorn\\Marrowind", "",
                       "C:\\Marrowind\\marrowind.exe");
  }
  shell.QueueAnswer((data[0] & 2) ? 6 : 7);
  iconguard::GuardPlatform platform{registry, shell};
  iconguard::MakeThreatValueName(platform, path);
  iconguard::ReportBlockedShortcut(platform, path);
  return 0;
}
