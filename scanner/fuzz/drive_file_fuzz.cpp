// A file on a removable drive, as an attacker may write it: the shortcut
// test and the disguised-executable test read its bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/memory/memory_machine.h"
#include "scanner/drive_scan.h"
#include "scanner/shortcut_test.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::memory::MemoryMachine machine;
  machine.drives.AddDrive("E:\\", platform::kDriveRemovable);
  const std::vector<std::uint8_t> bytes(data, data + size);
  machine.files.AddFile("E:\\x.lnk", bytes);
  machine.files.AddFile("E:\\x.tmp", bytes);
  scanner::ScanContext context{machine.machine(), "C:\\WINDOWS"};
  scanner::IsMaliciousShortcut(context, "E:\\x.lnk");
  scanner::IsDisguisedExecutable(context, "E:\\x.tmp");
  return 0;
}
