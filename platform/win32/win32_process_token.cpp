#include <windows.h>

#include "platform/win32/win32_process_token.h"

#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

HANDLE ToHandle(TokenHandle token) { return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(token)); }

}  // namespace

std::optional<TokenHandle> Win32ProcessToken::OpenProcessToken(std::uint32_t desiredAccess) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(GetCurrentProcess(), desiredAccess, &token)) return std::nullopt;
  return static_cast<TokenHandle>(reinterpret_cast<ULONG_PTR>(token));
}

std::optional<Luid> Win32ProcessToken::LookupPrivilege(const std::string& name) {
  LUID luid;
  if (!LookupPrivilegeValueW(nullptr, ToWide(name).c_str(), &luid)) return std::nullopt;
  return Luid{luid.LowPart, luid.HighPart};
}

AdjustResult Win32ProcessToken::AdjustPrivilege(TokenHandle token, Luid privilege,
                                                std::uint32_t attributes) {
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Luid.LowPart = privilege.lowPart;
  privileges.Privileges[0].Luid.HighPart = privilege.highPart;
  privileges.Privileges[0].Attributes = attributes;
  const BOOL succeeded =
      AdjustTokenPrivileges(ToHandle(token), FALSE, &privileges, 0, nullptr, nullptr);
  // Partial success shows only here (ERROR_NOT_ALL_ASSIGNED).
  const DWORD lastError = GetLastError();
  return {succeeded != 0, lastError};
}

void Win32ProcessToken::CloseToken(TokenHandle token) { CloseHandle(ToHandle(token)); }

bool Win32ProcessToken::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
  return ::ExitWindowsEx(flags, reason) != 0;
}

}  // namespace platform::win32
