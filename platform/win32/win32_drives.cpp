#include "platform/win32/win32_drives.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

constexpr DWORD kDriveStringsBuffer = 1024;

}  // namespace

std::uint32_t Win32Drives::SetErrorMode(std::uint32_t mode) { return ::SetErrorMode(mode); }

std::optional<std::string> Win32Drives::LogicalDriveStrings() {
  wchar_t buffer[kDriveStringsBuffer];
  // The count leaves out the final terminator; one that does not leave room
  // for it means the buffer was too small and nothing was written.
  const DWORD length = GetLogicalDriveStringsW(kDriveStringsBuffer, buffer);
  if (length == 0 || length >= kDriveStringsBuffer) return std::nullopt;
  return ToUtf8(std::wstring(buffer, length)) + '\0';
}

std::uint32_t Win32Drives::DriveType(const std::string& root) {
  return GetDriveTypeW(ToWide(root).c_str());
}

}  // namespace platform::win32
