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

namespace {

// The registry path a link names, every UTF-16 unit of its value counted
// (a terminator written with it becomes part of the last name, as on Windows).
std::string LinkTargetText(const RegValue& value) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
    text += static_cast<char16_t>(value.data[i] | (value.data[i + 1] << 8));
  }
  return Utf16ToUtf8(text);
}

}  // namespace

std::int32_t MemoryRegistry::State::Follow(std::shared_ptr<RegNode>* node, int hops) const {
  if (!(*node)->link) return kErrorSuccess;
  if (hops >= kMaxLinkHops) return kErrorInvalidParameter;
  const auto value = (*node)->values.find(FoldAscii(kLinkValueName));
  if (value == (*node)->values.end()) return kErrorFileNotFound;
  // "\Registry\Machine\..." is HKLM, "\Registry\User\<SID>\..." the
  // current user's HKCU; nothing else is reachable.
  const auto parts = SplitKeyPath(LinkTargetText(value->second));
  std::size_t next = 0;
  std::shared_ptr<RegNode> at;
  if (parts.size() >= 2 && FoldAscii(parts[0]) == "registry" && FoldAscii(parts[1]) == "machine") {
    at = roots.at(kLocalMachine);
    next = 2;
  } else if (parts.size() >= 3 && FoldAscii(parts[0]) == "registry" &&
             FoldAscii(parts[1]) == "user" &&
             FoldAscii(parts[2]) == FoldAscii(kCurrentUserSid)) {
    at = roots.at(kCurrentUser);
    next = 3;
  } else {
    return kErrorFileNotFound;
  }
  for (; next < parts.size(); ++next) {
    const auto it = at->subkeys.find(FoldAscii(parts[next]));
    if (it == at->subkeys.end()) return kErrorFileNotFound;
    at = it->second;
    if (const auto status = Follow(&at, hops + 1); status != kErrorSuccess) return status;
  }
  *node = at;
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::State::Lookup(std::shared_ptr<RegNode> from, const std::string& path,
                                           bool followLast,
                                           std::shared_ptr<RegNode>* node) const {
  const auto parts = SplitKeyPath(path);
  if (!parts.empty()) {
    if (const auto status = Follow(&from); status != kErrorSuccess) return status;
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const auto it = from->subkeys.find(FoldAscii(parts[i]));
    if (it == from->subkeys.end()) return kErrorFileNotFound;
    from = it->second;
    if (i + 1 < parts.size() || followLast) {
      if (const auto status = Follow(&from); status != kErrorSuccess) return status;
    }
  }
  *node = from;
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
    if (from->link) throw std::invalid_argument("cannot seed below a registry link");
    const auto it = from->subkeys.find(FoldAscii(part));
    from = it != from->subkeys.end() ? it->second : AddChild(from, part);
  }
  return from;
}

std::shared_ptr<RegNode> MemoryRegistry::State::AddChild(const std::shared_ptr<RegNode>& parent,
                                                         const std::string& name) {
  auto child = std::make_shared<RegNode>();
  child->name = name;
  child->root = parent->root;
  child->parent = parent.get();
  parent->subkeys[FoldAscii(name)] = child;
  return child;
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
                                         std::uint32_t access, bool followLast, RegKey* key) {
  if (!IsRelativeKeyPath(path)) return kErrorBadPathname;
  std::shared_ptr<RegNode> from;
  if (const auto status = Resolve(parent, 0, &from); status != kErrorSuccess) return status;
  std::shared_ptr<RegNode> node;
  if (const auto status = Lookup(from, path, followLast, &node); status != kErrorSuccess) {
    return status;
  }
  if (!AccessAllowed(*node, access)) return kErrorAccessDenied;
  *key = NewHandle(node, access);
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::State::Delete(RegKey parent, const std::string& path,
                                           bool followLast) {
  if (!IsRelativeKeyPath(path)) return kErrorBadPathname;
  std::shared_ptr<RegNode> from;
  if (const auto status = Resolve(parent, 0, &from); status != kErrorSuccess) return status;
  std::shared_ptr<RegNode> node;
  if (const auto status = Lookup(from, path, followLast, &node); status != kErrorSuccess) {
    return status;
  }
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
