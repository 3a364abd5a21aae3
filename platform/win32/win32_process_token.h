#pragma once
// The current process's token and the system restart.

#include "platform/process_token.h"

namespace platform::win32 {

class Win32ProcessToken : public ProcessToken {
 public:
  std::optional<TokenHandle> OpenProcessToken(std::uint32_t desiredAccess) override;
  std::optional<Luid> LookupPrivilege(const std::string& name) override;
  AdjustResult AdjustPrivilege(TokenHandle token, Luid privilege,
                               std::uint32_t attributes) override;
  void CloseToken(TokenHandle token) override;
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
};

}  // namespace platform::win32
