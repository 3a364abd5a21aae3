// The wide-character half of MemoryRegistry: Win32 status codes and the
// buffer rules of the W registry functions.

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/memory/memory_registry_state.h"
#include "platform/memory/unicode.h"

namespace platform::memory {

std::int32_t MemoryRegistry::CreateKey(RegKey parent, const std::u16string& path,
                                       std::uint32_t access, RegKey* key) {
  std::shared_ptr<RegNode> node;
  if (const auto status = state_->Resolve(parent, 0, &node); status != kErrorSuccess) {
    return status;
  }
  const std::string relative = Utf16ToUtf8(path);
  if (!IsRelativeKeyPath(relative)) return kErrorBadPathname;
  const auto parts = SplitKeyPath(relative);
  if (!parts.empty()) {
    if (const auto status = state_->Follow(&node); status != kErrorSuccess) return status;
  }
  // Existing keys are opened, links among them followed, the final one too.
  std::size_t next = 0;
  for (; next < parts.size(); ++next) {
    const auto it = node->subkeys.find(FoldAscii(parts[next]));
    if (it == node->subkeys.end()) break;
    node = it->second;
    if (const auto status = state_->Follow(&node); status != kErrorSuccess) return status;
  }
  if (next < parts.size()) {
    // New keys go below the deepest existing one, which must allow it.
    if (node->access != KeyAccess::Full) return kErrorAccessDenied;
    for (; next < parts.size(); ++next) node = State::AddChild(node, parts[next]);
  }
  if (!State::AccessAllowed(*node, access)) return kErrorAccessDenied;
  *key = state_->NewHandle(node, access);
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::OpenKey(RegKey parent, const std::u16string& path,
                                     std::uint32_t access, RegKey* key) {
  return state_->Open(parent, Utf16ToUtf8(path), access, true, key);
}

std::int32_t MemoryRegistry::OpenKeyNoFollow(RegKey parent, const std::u16string& path,
                                             std::uint32_t access, RegKey* key) {
  return state_->Open(parent, Utf16ToUtf8(path), access, false, key);
}

std::int32_t MemoryRegistry::QueryValue(RegKey key, const std::u16string& name,
                                        std::uint32_t* type, std::uint8_t* data,
                                        std::uint32_t* size) {
  if (data && !size) return kErrorInvalidParameter;
  std::shared_ptr<RegNode> node;
  if (const auto status = state_->Resolve(key, kKeyQueryValue, &node); status != kErrorSuccess) {
    return status;
  }
  const auto it = node->values.find(FoldAscii(Utf16ToUtf8(name)));
  if (it == node->values.end()) return kErrorFileNotFound;
  const auto& value = it->second;
  if (type) *type = value.type;
  if (!size) return kErrorSuccess;
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  if (data && needed > *size) {
    *size = needed;
    return kErrorMoreData;
  }
  if (data) std::copy(value.data.begin(), value.data.end(), data);
  *size = needed;
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::SetValue(RegKey key, const std::u16string& name, std::uint32_t type,
                                      const std::uint8_t* data, std::uint32_t size) {
  if (!data && size != 0) return kErrorInvalidParameter;
  std::shared_ptr<RegNode> node;
  if (const auto status = state_->Resolve(key, kKeySetValue, &node); status != kErrorSuccess) {
    return status;
  }
  const std::string utf8 = Utf16ToUtf8(name);
  // A link holds its target and nothing else.
  if (node->link && FoldAscii(utf8) != FoldAscii(kLinkValueName)) return kErrorAccessDenied;
  RegValue value{utf8, type, {}};
  if (data) value.data.assign(data, data + size);
  node->values[FoldAscii(utf8)] = std::move(value);
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::DeleteValue(RegKey key, const std::u16string& name) {
  std::shared_ptr<RegNode> node;
  if (const auto status = state_->Resolve(key, kKeySetValue, &node); status != kErrorSuccess) {
    return status;
  }
  return node->values.erase(FoldAscii(Utf16ToUtf8(name))) ? kErrorSuccess : kErrorFileNotFound;
}

std::int32_t MemoryRegistry::DeleteKey(RegKey parent, const std::u16string& subkey) {
  return state_->Delete(parent, Utf16ToUtf8(subkey), true);
}

std::int32_t MemoryRegistry::DeleteKeyNoFollow(RegKey parent, const std::u16string& subkey) {
  return state_->Delete(parent, Utf16ToUtf8(subkey), false);
}

std::int32_t MemoryRegistry::EnumKey(RegKey key, std::uint32_t index, std::u16string* name) {
  std::shared_ptr<RegNode> node;
  if (const auto status = state_->Resolve(key, kKeyEnumerateSubKeys, &node);
      status != kErrorSuccess) {
    return status;
  }
  if (index >= node->subkeys.size()) return kErrorNoMoreItems;
  *name = Utf8ToUtf16(std::next(node->subkeys.begin(), index)->second->name);
  return kErrorSuccess;
}

std::int32_t MemoryRegistry::EnumValue(RegKey key, std::uint32_t index, std::u16string* name,
                                       std::uint32_t* type, std::vector<std::uint8_t>* data) {
  std::shared_ptr<RegNode> node;
  if (const auto status = state_->Resolve(key, kKeyQueryValue, &node); status != kErrorSuccess) {
    return status;
  }
  if (index >= node->values.size()) return kErrorNoMoreItems;
  const RegValue& value = std::next(node->values.begin(), index)->second;
  *name = Utf8ToUtf16(value.name);
  *type = value.type;
  *data = value.data;
  return kErrorSuccess;
}

}  // namespace platform::memory
