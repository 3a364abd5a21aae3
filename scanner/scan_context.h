#pragma once
// What a scan works with: the machine and the Windows directory read at
// the start of each check.

#include <string>

#include "platform/machine.h"

namespace scanner {

struct ScanContext {
  platform::Machine machine;
  // As the system reports it: case kept, no trailing backslash.
  std::string WindowsDir;
};

}  // namespace scanner
