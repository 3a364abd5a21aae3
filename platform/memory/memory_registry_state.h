#pragma once
// The tree behind MemoryRegistry, shared by its narrow and wide halves.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/memory/memory_machine.h"

namespace platform::memory {

inline constexpr std::int32_t kErrorBadPathname = 161;
inline constexpr std::int32_t kErrorKeyDeleted = 1018;

struct RegValue {
  std::string name;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

// A symbolic link keeps its target, an absolute registry path such as
// "\Registry\Machine\Software\X", in this value (type REG_LINK, UTF-16LE
// without a terminator).
inline constexpr const char* kLinkValueName = "SymbolicLinkValue";
// Links lead to links at most this deep; a longer chain (a cycle) fails.
inline constexpr int kMaxLinkHops = 16;

struct RegNode {
  std::string name;
  RegKey root = 0;
  RegNode* parent = nullptr;
  KeyAccess access = KeyAccess::Full;
  // A symbolic link: opening it leads to its target; it has no subkeys and
  // no value but its target.
  bool link = false;
  // A deleted key stays alive while handles still name it; every operation
  // through such a handle then fails, as on Windows.
  bool deleted = false;
  std::map<std::string, std::shared_ptr<RegNode>> subkeys;  // by folded name
  std::map<std::string, RegValue> values;                    // by folded name
};

struct OpenKeyHandle {
  std::shared_ptr<RegNode> node;
  std::uint32_t access = 0;
};

struct MemoryRegistry::State {
  std::map<RegKey, std::shared_ptr<RegNode>> roots;
  std::map<RegKey, OpenKeyHandle> handles;
  RegKey nextHandle = 0x1000;

  State();
  // The node of a seeding path; throws on a root that is not predefined.
  std::shared_ptr<RegNode> SeedNode(RegKey root, const std::string& path, bool create);
  // The open key or root behind `key`, checked for `needed` access rights.
  std::int32_t Resolve(RegKey key, std::uint32_t needed, std::shared_ptr<RegNode>* node) const;
  // Replaces a link by its target, as often as the chain goes.
  // kErrorFileNotFound for a target that is missing or not an absolute
  // registry path, kErrorInvalidParameter for a chain too long.
  std::int32_t Follow(std::shared_ptr<RegNode>* node, int hops = 0) const;
  // Walks `path` (UTF-8, backslash separated) below `from` as the system
  // does: links before the last part are followed, the last one only with
  // `followLast`; a start key that is a link leads into its target.
  std::int32_t Lookup(std::shared_ptr<RegNode> from, const std::string& path, bool followLast,
                      std::shared_ptr<RegNode>* node) const;
  // Seeding and inspection walk the tree literally; seeding never goes
  // below a link.
  static std::shared_ptr<RegNode> Walk(std::shared_ptr<RegNode> from, const std::string& path);
  static std::shared_ptr<RegNode> WalkOrCreate(std::shared_ptr<RegNode> from,
                                               const std::string& path);
  static std::shared_ptr<RegNode> AddChild(const std::shared_ptr<RegNode>& parent,
                                           const std::string& name);
  static bool AccessAllowed(const RegNode& node, std::uint32_t access);
  RegKey NewHandle(std::shared_ptr<RegNode> node, std::uint32_t access);
  std::int32_t Open(RegKey parent, const std::string& path, std::uint32_t access, bool followLast,
                    RegKey* key);
  std::int32_t Delete(RegKey parent, const std::string& path, bool followLast);
};

// Registry paths are relative: a leading backslash is refused.
inline bool IsRelativeKeyPath(const std::string& path) {
  return path.empty() || path.front() != '\\';
}

// Splits a registry path at backslashes; empty parts are dropped.
std::vector<std::string> SplitKeyPath(const std::string& path);

}  // namespace platform::memory
