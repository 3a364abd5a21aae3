#include "scanner/removal.h"

#include <cstdint>
#include <optional>

#include "scanner/scoped_key.h"

namespace scanner {
namespace {

constexpr std::uint32_t kAnyReason = 0xFFFFFFFF;
// The registry nests keys at most 512 deep; a deeper walk can only be a
// fault, and stopping there keeps the stack safe whatever the tree holds.
constexpr int kMaxKeyDepth = 512;

// Deletes `path` below `parent` with all its subkeys, deepest first; true
// when the key itself was deleted. Subkeys removed before a failure stay
// removed. A symbolic link (the key itself or any subkey) is deleted as a
// link and never entered: followed, a link planted by the rootkit would aim
// the removal at a tree of its choosing, or at the key itself in a loop.
bool DeleteKeyTree(platform::Registry& registry, platform::RegKey parent,
                   const std::string& path, int depth = 0) {
  if (depth < kMaxKeyDepth) {
    // Opened without following, a link lists no subkeys of its own.
    ScopedKey key(registry, registry.OpenKeyNoFollow(parent, path));
    if (key) {
      if (const auto info = registry.QueryKeyInfo(key.get())) {
        const std::uint32_t bufferLength = info->maxSubkeyNameLength + 1;
        // From the last index down, so deleting does not shift the ones left.
        for (std::uint32_t index = info->subkeyCount; index-- > 0;) {
          if (const auto name = registry.EnumKey(key.get(), index, bufferLength)) {
            DeleteKeyTree(registry, key.get(), *name, depth + 1);
          }
        }
      }
    }
  }
  const std::string relative = path.starts_with("\\") ? path.substr(1) : path;
  return registry.DeleteKeyNoFollow(parent, relative);
}

std::optional<platform::RegKey> RootOf(const std::string& upperEntry) {
  const std::string prefix = upperEntry.substr(0, 4);
  if (prefix == "HKLM") return platform::kLocalMachine;
  if (prefix == "HKCU") return platform::kCurrentUser;
  if (prefix == "HKCR") return platform::kClassesRoot;
  return std::nullopt;
}

bool InUse(std::uint32_t error) {
  return error == platform::kFileErrorSharingViolation ||
         error == platform::kFileErrorLockViolation || error == platform::kFileErrorAccessDenied;
}

bool Gone(const RemovalOutcome& outcome) {
  return outcome.state == RemovalState::Removed ||
         outcome.state == RemovalState::RemovedAtRestart;
}

// Reports the entry at `from` and every later non-empty one as left in
// place; `spelling` is how an entry is tested for emptiness.
template <class Spelling>
void ReportInterrupted(const Findings& findings, std::size_t from, RemovalReport& report,
                       Spelling spelling) noexcept {
  try {
    for (std::size_t i = from; i < findings.size(); ++i) {
      if (spelling(findings[i]).empty()) continue;
      report.push_back({findings[i], RemovalState::LeftInPlace, LeftReason::Interrupted, ""});
    }
  } catch (...) {
    // Nothing more can be said.
  }
}

}  // namespace

bool DeleteFoundFiles(ScanContext& context, const Findings& FileFindings, Safekeeping& keeper,
                      RemovalReport& report) {
  bool deleted = false;
  std::size_t next = 0;
  try {
    for (; next < FileFindings.size(); ++next) {
      const std::string& path = FileFindings[next];
      if (path.empty()) continue;
      report.push_back(DeleteFoundFile(context, path, keeper));
      deleted = deleted || Gone(report.back());
    }
  } catch (...) {
    // What was removed stays removed; the rest is reported as left.
    ReportInterrupted(FileFindings, next, report, [](const std::string& path) { return path; });
  }
  return deleted;
}

RemovalOutcome DeleteFoundFile(ScanContext& context, const std::string& path,
                               Safekeeping& keeper) {
  RemovalOutcome outcome{path, RemovalState::LeftInPlace, LeftReason::None, ""};
  platform::FileSystem& files = context.machine.files;
  try {
    const auto attributes = files.GetAttributes(path);
    if (!attributes) {
      // A drive listing can name "evil." (made through "\\?\"), which the
      // plain path does not reach: it is still there, not gone.
      if (files.GetAttributes("\\\\?\\" + path)) {
        outcome.reason = LeftReason::Unreachable;
      } else {
        outcome.state = RemovalState::AlreadyGone;
      }
      return outcome;
    }
    // A folder is never a finding; one in a finding's place stays.
    if (*attributes & platform::kAttributeDirectory) {
      outcome.reason = LeftReason::NotRemovable;
      return outcome;
    }
    const Kept kept = keeper.KeepFile(path);
    if (!kept.id) {
      outcome.reason = LeftReason::NotKept;
      outcome.detail = kept.reason;
      return outcome;
    }
    // Read-only, hidden and system files must lose those attributes first.
    files.SetAttributes("\\\\?\\" + path, 0);
    const platform::FileResult result = files.RemoveFile(path);
    if (result) {
      outcome.state = RemovalState::Removed;
    } else if (result.error == platform::kFileErrorNotFound ||
               result.error == platform::kFileErrorPathNotFound) {
      outcome.state = RemovalState::AlreadyGone;
      keeper.Discard(*kept.id);
    } else if (InUse(result.error) && files.RemoveAtRestart(path)) {
      // A loaded driver stays locked until the system stops.
      outcome.state = RemovalState::RemovedAtRestart;
    } else {
      outcome.reason = LeftReason::DeleteFailed;
      keeper.Discard(*kept.id);
    }
  } catch (...) {
    outcome.state = RemovalState::LeftInPlace;
    outcome.reason = LeftReason::Interrupted;
  }
  return outcome;
}

bool DeleteFoundKeys(ScanContext& context, const Findings& RegistryFindings,
                     Safekeeping& keeper, RemovalReport& report) {
  platform::Registry& registry = context.machine.registry;
  bool deleted = false;
  std::size_t next = 0;
  try {
    for (; next < RegistryFindings.size(); ++next) {
      const std::string upper = context.machine.text.UpperCase(RegistryFindings[next]);
      if (upper.empty()) continue;
      RemovalOutcome outcome{RegistryFindings[next], RemovalState::LeftInPlace, LeftReason::None,
                             ""};
      const auto root = RootOf(upper);
      const std::string path = upper.size() > 4 ? upper.substr(4) : "";
      if (!root || path.empty()) {
        outcome.reason = LeftReason::NotRemovable;
      } else if (!ScopedKey(registry, registry.OpenKeyNoFollow(*root, path))) {
        // A service key that is itself a link counts as existing: the link
        // is what gets deleted.
        outcome.state = RemovalState::AlreadyGone;
      } else if (const Kept kept = keeper.KeepKey(upper, *root, path); !kept.id) {
        outcome.reason = LeftReason::NotKept;
        outcome.detail = kept.reason;
      } else if (DeleteKeyTree(registry, *root, path)) {
        outcome.state = RemovalState::Removed;
        deleted = true;
      } else {
        // Subkeys deleted before the failure stay deleted, so the copy stays.
        outcome.reason = LeftReason::DeleteFailed;
      }
      report.push_back(std::move(outcome));
    }
  } catch (...) {
    ReportInterrupted(RegistryFindings, next, report,
                      [&](const std::string& entry) { return context.machine.text.UpperCase(entry); });
  }
  return deleted;
}

void RestartComputer(ScanContext& context) {
  platform::ProcessToken& token = context.machine.token;
  try {
    const auto handle =
        token.OpenProcessToken(platform::kTokenAdjustPrivileges | platform::kTokenQuery);
    if (!handle) return;
    struct CloseOnExit {
      platform::ProcessToken& token;
      platform::TokenHandle handle;
      ~CloseOnExit() { token.CloseToken(handle); }
    } closeOnExit{token, *handle};
    // Without the privilege's identifier nothing can be enabled.
    const auto shutdown = token.LookupPrivilege("SeShutdownPrivilege");
    if (!shutdown) return;
    const platform::AdjustResult adjusted =
        token.AdjustPrivilege(*handle, *shutdown, platform::kSePrivilegeEnabled);
    // A partial success (the privilege not held) leaves a non-zero last error.
    if (adjusted.succeeded && adjusted.lastError == 0) {
      token.ExitWindowsEx(platform::kEwxReboot, kAnyReason);
    }
  } catch (...) {
    // Silent: no restart.
  }
}

}  // namespace scanner
