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

}  // namespace

bool DeleteFoundFiles(ScanContext& context, const Findings& FileFindings) {
  bool deleted = false;
  try {
    for (const std::string& path : FileFindings) {
      if (path.empty()) continue;
      if (DeleteFoundFile(context, path)) deleted = true;
    }
  } catch (...) {
    // Silent: what was deleted stays deleted.
  }
  return deleted;
}

bool DeleteFoundFile(ScanContext& context, const std::string& path) {
  try {
    // Read-only, hidden and system files must lose those attributes first.
    context.machine.files.SetAttributes("\\\\?\\" + path, 0);
    return context.machine.files.RemoveFile(path);
  } catch (...) {
    return false;
  }
}

bool DeleteFoundKeys(ScanContext& context, const Findings& RegistryFindings) {
  platform::Registry& registry = context.machine.registry;
  bool deleted = false;
  try {
    for (const std::string& entry : RegistryFindings) {
      const std::string upper = context.machine.text.UpperCase(entry);
      if (upper.empty()) continue;
      const auto root = RootOf(upper);
      if (!root) continue;
      const std::string path = upper.substr(4);
      if (path.empty()) continue;
      // A service key that is itself a link counts as existing: the link
      // is what gets deleted.
      if (!ScopedKey(registry, registry.OpenKeyNoFollow(*root, path))) continue;
      if (DeleteKeyTree(registry, *root, path)) deleted = true;
    }
  } catch (...) {
    // Silent: what was deleted stays deleted.
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
