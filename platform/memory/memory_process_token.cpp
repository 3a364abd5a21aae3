#include "platform/memory/memory_machine.h"
#include "platform/memory/unicode.h"

namespace platform::memory {
namespace {

constexpr std::uint32_t kErrorNotAllAssigned = 1300;
constexpr std::uint32_t kErrorInvalidHandle = 6;
constexpr std::uint32_t kErrorAccessDenied = 5;
// The identifier Windows gives the shutdown privilege.
constexpr Luid kShutdownLuid{19, 0};

}  // namespace

std::optional<TokenHandle> MemoryProcessToken::OpenProcessToken(std::uint32_t desiredAccess) {
  if (openFails_) return std::nullopt;
  const TokenHandle token = nextToken_;
  nextToken_ += 4;
  tokens_[token] = desiredAccess;
  openTokens_ = tokens_.size();
  return token;
}

std::optional<Luid> MemoryProcessToken::LookupPrivilege(const std::string& name) {
  if (FoldAscii(name) == "seshutdownprivilege") return kShutdownLuid;
  return std::nullopt;
}

AdjustResult MemoryProcessToken::AdjustPrivilege(TokenHandle token, Luid privilege,
                                                 std::uint32_t attributes) {
  const auto it = tokens_.find(token);
  if (it == tokens_.end()) return {false, kErrorInvalidHandle};
  if (!(it->second & kTokenAdjustPrivileges)) return {false, kErrorAccessDenied};
  // A privilege the token does not hold is left alone, and the call still
  // succeeds: only the last error tells.
  if (privilege != kShutdownLuid || !holdsShutdown_) return {true, kErrorNotAllAssigned};
  shutdownEnabled_ = (attributes & kSePrivilegeEnabled) != 0;
  return {true, 0};
}

void MemoryProcessToken::CloseToken(TokenHandle token) {
  tokens_.erase(token);
  openTokens_ = tokens_.size();
}

bool MemoryProcessToken::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
  exitRequests_.push_back({flags, reason});
  // Windows refuses a restart unless the shutdown privilege is enabled.
  return shutdownEnabled_;
}

}  // namespace platform::memory
