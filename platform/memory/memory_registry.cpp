#include <cstdio>
#include <stdexcept>

#include "platform/memory/memory_registry_state.h"
#include "platform/memory/unicode.h"

namespace platform::memory {
namespace {

std::vector<std::uint8_t> Utf16Bytes(const std::u16string& text) {
  std::vector<std::uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

// UTF-16LE data up to its first NUL (an odd trailing byte is ignored).
std::string TextOfData(const std::vector<std::uint8_t>& data) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    text += c;
  }
  return Utf16ToUtf8(text);
}

void DumpNode(const RegNode& node, const std::string& path, std::string& out) {
  out += path;
  if (node.access == KeyAccess::ReadOnly) out += " [read-only]";
  if (node.access == KeyAccess::Denied) out += " [denied]";
  if (node.link) out += " [link]";
  out += '\n';
  for (const auto& [folded, value] : node.values) {
    char head[32];
    std::snprintf(head, sizeof head, "\" type %u =", value.type);
    out += path + " : \"" + value.name + head;
    for (std::uint8_t b : value.data) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02x", b);
      out += hex;
    }
    out += '\n';
  }
  for (const auto& [folded, child] : node.subkeys) DumpNode(*child, path + "\\" + child->name, out);
}

}  // namespace

MemoryRegistry::MemoryRegistry() : state_(std::make_unique<State>()) {}
MemoryRegistry::~MemoryRegistry() = default;

void MemoryRegistry::AddKey(RegKey root, const std::string& path) {
  state_->SeedNode(root, path, true);
}

void MemoryRegistry::SetValue(RegKey root, const std::string& path, const std::string& name,
                              std::uint32_t type, const std::vector<std::uint8_t>& data) {
  const auto node = state_->SeedNode(root, path, true);
  node->values[FoldAscii(name)] = RegValue{name, type, data};
}

void MemoryRegistry::SetString(RegKey root, const std::string& path, const std::string& name,
                               const std::string& text, std::uint32_t type) {
  SetValue(root, path, name, type, Utf16Bytes(Utf8ToUtf16(text) + u'\0'));
}

void MemoryRegistry::SetKeyAccess(RegKey root, const std::string& path, KeyAccess access) {
  state_->SeedNode(root, path, true)->access = access;
}

void MemoryRegistry::AddLink(RegKey root, const std::string& path, const std::string& target) {
  const auto node = state_->SeedNode(root, path, true);
  if (!node->subkeys.empty() || !node->values.empty()) {
    throw std::invalid_argument("a registry link holds nothing but its target");
  }
  node->link = true;
  node->values[FoldAscii(kLinkValueName)] =
      RegValue{kLinkValueName, kRegLink, Utf16Bytes(Utf8ToUtf16(target))};
}

bool MemoryRegistry::HasKey(RegKey root, const std::string& path) const {
  std::shared_ptr<RegNode> node;
  return state_->Lookup(state_->SeedNode(root, "", false), path, false, &node) == kErrorSuccess;
}

std::optional<std::vector<std::uint8_t>> MemoryRegistry::ValueData(
    RegKey root, const std::string& path, const std::string& name) const {
  const auto node = state_->SeedNode(root, path, false);
  if (!node) return std::nullopt;
  const auto it = node->values.find(FoldAscii(name));
  if (it == node->values.end()) return std::nullopt;
  return it->second.data;
}

std::optional<std::uint32_t> MemoryRegistry::ValueType(RegKey root, const std::string& path,
                                                       const std::string& name) const {
  const auto node = state_->SeedNode(root, path, false);
  if (!node) return std::nullopt;
  const auto it = node->values.find(FoldAscii(name));
  if (it == node->values.end()) return std::nullopt;
  return it->second.type;
}

std::string MemoryRegistry::Dump() const {
  std::string out;
  for (const auto& [key, root] : state_->roots) DumpNode(*root, root->name, out);
  return out;
}

std::size_t MemoryRegistry::OpenHandleCount() const { return state_->handles.size(); }

std::optional<RegKey> MemoryRegistry::OpenWithFallback(RegKey parent, const std::string& path,
                                                       bool followLast) {
  std::string relative = path;
  if (!relative.empty() && relative.front() == '\\') {
    std::shared_ptr<RegNode> node;
    if (state_->Resolve(parent, 0, &node) != kErrorSuccess) return std::nullopt;
    parent = node->root;
    relative.erase(0, 1);
  }
  for (const std::uint32_t access : {kKeyAllAccess, kKeyReadCreateSet, kKeyRead}) {
    RegKey key = 0;
    if (state_->Open(parent, relative, access, followLast, &key) == kErrorSuccess) return key;
  }
  return std::nullopt;
}

std::optional<RegKey> MemoryRegistry::OpenKey(RegKey parent, const std::string& path) {
  return OpenWithFallback(parent, path, true);
}

std::optional<RegKey> MemoryRegistry::OpenKeyNoFollow(RegKey parent, const std::string& path) {
  return OpenWithFallback(parent, path, false);
}

void MemoryRegistry::CloseKey(RegKey key) { state_->handles.erase(key); }

bool MemoryRegistry::ValueExists(RegKey key, const std::string& name) {
  std::shared_ptr<RegNode> node;
  if (state_->Resolve(key, kKeyQueryValue, &node) != kErrorSuccess) return false;
  return node->values.count(FoldAscii(name)) != 0;
}

std::optional<std::string> MemoryRegistry::ReadString(RegKey key, const std::string& name) {
  std::shared_ptr<RegNode> node;
  if (state_->Resolve(key, kKeyQueryValue, &node) != kErrorSuccess) return std::nullopt;
  const auto it = node->values.find(FoldAscii(name));
  if (it == node->values.end()) return std::nullopt;
  if (it->second.type != kRegSz && it->second.type != kRegExpandSz) return std::nullopt;
  return TextOfData(it->second.data);
}

std::optional<KeyInfo> MemoryRegistry::QueryKeyInfo(RegKey key) {
  std::shared_ptr<RegNode> node;
  if (state_->Resolve(key, kKeyQueryValue, &node) != kErrorSuccess) return std::nullopt;
  KeyInfo info;
  info.subkeyCount = static_cast<std::uint32_t>(node->subkeys.size());
  for (const auto& [folded, child] : node->subkeys) {
    const auto length = static_cast<std::uint32_t>(Utf8ToUtf16(child->name).size());
    if (length > info.maxSubkeyNameLength) info.maxSubkeyNameLength = length;
  }
  return info;
}

std::optional<std::string> MemoryRegistry::EnumKey(RegKey key, std::uint32_t index,
                                                   std::uint32_t bufferLength) {
  std::u16string name;
  if (EnumKey(key, index, &name) != kErrorSuccess) return std::nullopt;
  // The name and its terminator must fit, or the call reports more data.
  if (name.size() + 1 > bufferLength) return std::nullopt;
  return Utf16ToUtf8(name);
}

bool MemoryRegistry::DeleteKeyNoFollow(RegKey parent, const std::string& subkey) {
  return state_->Delete(parent, subkey, false) == kErrorSuccess;
}

}  // namespace platform::memory
