#pragma once
// The removable drive that the Wine session maps (QR_REMOVABLE_DRIVE, R:
// when unset), as a root with its backslash.

#include <cstdlib>
#include <string>

#include "platform/win32/wide_text.h"

namespace e2e::testing {

inline std::wstring RemovableRoot() {
  const char* drive = std::getenv("QR_REMOVABLE_DRIVE");
  return platform::win32::ToWide(drive != nullptr && *drive != '\0' ? drive : "R:") + L"\\";
}

}  // namespace e2e::testing
