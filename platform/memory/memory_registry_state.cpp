#include "platform/memory/memory_registry_state.h"

#include <stdexcept>

#include "platform/memory/unicode.h"

namespace platform::memory {
std::vector<std::string> SplitKeyPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

MemoryRegistry::State::State() {
  const std::pair<RegKey, const char*> names[] = {{kClassesRoot, "HKEY_CLASSES_ROOT"},
                                                  {kCurrentUser, "HKEY_CURRENT_USER"},
                                                  {kLocalMachine, "HKEY_LOCAL_MACHINE"}};
  for (const auto& [key, name] : names) {
    auto node = std::make_shared<RegNode>();
    node->name = name;
    node->root = key;
    roots[key] = node;
  }
}

std::shared_ptr<RegNode> MemoryRegistry::State::SeedNode(RegKey root, const std::string& path,
                                                         bool create) {
  const auto it = roots.find(root);
  if (it == roots.end()) throw std::invalid_argument("not a predefined registry root");
  return create ? WalkOrCreate(it->second, path) : Walk(it->second, path);
}

std::int32_t MemoryRegistry::State::Resolve(RegKey key, std::uint32_t needed,
                                            std::shared_ptr<RegNode>* node) const {
  if (const auto root = roots.find(key); root != roots.end()) {
    *node = root->second;
    return kErrorSuccess;
  }
  const auto it = handles.find(key);
  if (it == handles.end()) return kErrorInvalidHandle;
  if (it->second.node->deleted) return kErrorKeyDeleted;
  if ((needed & ~it->second.access) != 0) return kErrorAccessDenied;
  *node = it->second.node;
  return kErrorSuccess;
}

std::shared_ptr<RegNode> MemoryRegistry::State::Walk(std::shared_ptr<RegNode> from,
                                                     const std::string& path) {
  for (const auto& part : SplitKeyPath(path)) {
    const auto it = from->subkeys.find(FoldAscii(part));
    if (it == from->subkeys.end()) return nullptr;
    from = it->second;
  }
  return from;
}

std::shared_ptr<RegNode> MemoryRegistry::State::WalkOrCreate(std::shared_ptr<RegNode> from,
                                                             const std::string& path) {
  for (const auto& part : SplitKeyPath(path)) {
    auto& slot = from->subkeys[FoldAscii(part)];
    if (!slot) {
      slot = std::make_shared<RegNode>();
      slot->name = part;
      slot->root = from->root;
      slot->parent = from.get();
    }
    from = slot;
  }
  return from;
}

bool MemoryRegistry::State::AccessAllowed(const RegNode& node, std::uint32_t access) {
  switch (node.access) {
    case KeyAccess::Full:
      return true;
    case KeyAccess::ReadOnly:
      return (access & ~kKeyRead) == 0;
    case KeyAccess::Denied:
      return false;
  }
  return false;
}

RegKey MemoryRegistry::State::NewHandle(std::shared_ptr<RegNode> node, std::uint32_t access) {
  const RegKey key = nextHandle;
  nextHandle += 4;
  handles[key] = OpenKeyHandle{std::move(node), access};
  return key;
}

std::int32_t MemoryRegistry::State::Open(RegKey parent, const std::string& path,
                                         std::uint32_t access, RegKey* key) {
  if (!IsRelativeKeyPath(path)) return kErrorBadPathname;
  std::shared_ptr<RegNode> from;
  if (const auto status = Resolve(parent, 0, &from); status != kErrorSuccess) return status;
  const auto node = Walk(from, path);
  if (!node) return kErrorFileNotFound;
  if (!AccessAllowed(*node, access)) return kErrorAccessDenied;
  *key = NewHandle(node, access);
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::State::Delete(RegKey parent, const std::string& path) {
  if (!IsRelativeKeyPath(path)) return kErrorBadPathname;
  std::shared_ptr<RegNode> from;
  if (const auto status = Resolve(parent, 0, &from); status != kErrorSuccess) return status;
  const auto node = Walk(from, path);
  if (!node) return kErrorFileNotFound;
  // Roots cannot go; a key with subkeys or without delete rights refuses.
  if (!node->parent || !node->subkeys.empty() || node->access != KeyAccess::Full) {
    return kErrorAccessDenied;
  }
  node->deleted = true;
  node->parent->subkeys.erase(FoldAscii(node->name));
  node->parent = nullptr;
  return kErrorSuccess;
}

}  // namespace platform::memory
