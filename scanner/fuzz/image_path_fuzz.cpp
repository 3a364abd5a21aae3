// A service's ImagePath, which anyone who can write the services key
// controls: its normalisation and the expansion of its variables.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/memory/memory_machine.h"
#include "scanner/system_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::memory::MemoryMachine machine;
  machine.files.SetWindowsDirectory("C:\\WINDOWS");
  scanner::ScanContext context{machine.machine(), "C:\\WINDOWS"};
  const std::string raw(reinterpret_cast<const char*>(data), size);
  scanner::NormalizeDriverPath(context, raw);
  scanner::ExpandPathVariables(context, raw);
  return 0;
}
