#pragma once
// The process token's privileges and the system restart.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

using TokenHandle = std::uint64_t;

inline constexpr std::uint32_t kTokenAdjustPrivileges = 0x20;
inline constexpr std::uint32_t kTokenQuery = 0x08;
inline constexpr std::uint32_t kSePrivilegeEnabled = 2;
inline constexpr std::uint32_t kEwxReboot = 2;

struct Luid {
  std::uint32_t lowPart = 0;
  std::int32_t highPart = 0;
  friend bool operator==(const Luid&, const Luid&) = default;
};

struct AdjustResult {
  bool succeeded = false;
  std::uint32_t lastError = 0;  // GetLastError read right after the call
};

class ProcessToken {
 public:
  virtual ~ProcessToken() = default;

  // OpenProcessToken on the current process.
  virtual std::optional<TokenHandle> OpenProcessToken(std::uint32_t desiredAccess) = 0;
  // LookupPrivilegeValue on the local system.
  virtual std::optional<Luid> LookupPrivilege(const std::string& name) = 0;
  // AdjustTokenPrivileges with one privilege, without disabling all and
  // without asking for the previous state.
  virtual AdjustResult AdjustPrivilege(TokenHandle token, Luid privilege,
                                       std::uint32_t attributes) = 0;
  virtual void CloseToken(TokenHandle token) = 0;
  // ExitWindowsEx.
  virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;
};

}  // namespace platform
