#pragma once
// Logical drives and the process error mode.

#include "platform/drives.h"

namespace platform::win32 {

class Win32Drives : public Drives {
 public:
  std::uint32_t SetErrorMode(std::uint32_t mode) override;
  std::optional<std::string> LogicalDriveStrings() override;
  std::uint32_t DriveType(const std::string& root) override;
};

}  // namespace platform::win32
