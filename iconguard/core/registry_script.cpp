#include "iconguard/core/registry_script.h"

#include "iconguard/core/hresult.h"
#include "iconguard/core/registry_script_parser.h"
#include "iconguard/core/utf16le.h"

namespace iconguard {
namespace {

using platform::RegKey;
using platform::WideRegistry;
using script::Node;

constexpr std::uint32_t kReadWrite = platform::kKeyRead | platform::kKeyWrite;

std::int32_t WriteString(WideRegistry& registry, RegKey key, const std::u16string& name,
                         const std::u16string& text) {
  const auto data = Utf16LeBytes(text, Terminator::Append);
  return registry.SetValue(key, name, platform::kRegSz, data.data(),
                           static_cast<std::uint32_t>(data.size()));
}

// The registry nests keys at most 512 deep; the walk never goes further.
constexpr int kMaxKeyDepth = 512;

// Deletes a key with everything below it; what cannot be deleted stays. A
// symbolic link is deleted as a link and never entered, so a link under the
// class key can neither aim the deletion at another tree nor loop it.
void DeleteTree(WideRegistry& registry, RegKey parent, const std::u16string& name, int depth = 0) {
  RegKey key = 0;
  if (depth < kMaxKeyDepth &&
      registry.OpenKeyNoFollow(parent, name, kReadWrite, &key) == platform::kErrorSuccess) {
    std::vector<std::u16string> subkeys;
    std::u16string subkey;
    for (std::uint32_t i = 0; registry.EnumKey(key, i, &subkey) == platform::kErrorSuccess; ++i) {
      subkeys.push_back(subkey);
    }
    for (const auto& child : subkeys) DeleteTree(registry, key, child, depth + 1);
    registry.CloseKey(key);
  }
  registry.DeleteKeyNoFollow(parent, name);
}

std::int32_t RegisterEntries(WideRegistry& registry, RegKey parent,
                             const std::vector<Node>& entries);

std::int32_t RegisterKey(WideRegistry& registry, RegKey parent, const Node& node) {
  if (node.forceRemove) DeleteTree(registry, parent, node.name);
  RegKey key = 0;
  if (registry.OpenKey(parent, node.name, kReadWrite, &key) != platform::kErrorSuccess &&
      registry.CreateKey(parent, node.name, kReadWrite, &key) != platform::kErrorSuccess) {
    return kDispEException;
  }
  std::int32_t result = kSOk;
  if (node.text) {
    result = HresultFromWin32(
        static_cast<std::uint32_t>(WriteString(registry, key, u"", *node.text)));
  }
  if (result == kSOk) result = RegisterEntries(registry, key, node.children);
  registry.CloseKey(key);
  return result;
}

std::int32_t RegisterEntries(WideRegistry& registry, RegKey parent,
                             const std::vector<Node>& entries) {
  for (const Node& entry : entries) {
    std::int32_t result;
    if (entry.kind == Node::Kind::Value) {
      result = HresultFromWin32(
          static_cast<std::uint32_t>(WriteString(registry, parent, entry.name, *entry.text)));
    } else {
      result = RegisterKey(registry, parent, entry);
    }
    if (result != kSOk) return result;
  }
  return kSOk;
}

void UnregisterEntries(WideRegistry& registry, RegKey parent, const std::vector<Node>& entries);

// Whether the key open as `key` (opened itself, not followed) is a symbolic link.
bool IsLink(WideRegistry& registry, RegKey key) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  return registry.QueryValue(key, u"SymbolicLinkValue", &type, nullptr, &size) ==
             platform::kErrorSuccess &&
         type == platform::kRegLink;
}

void UnregisterKey(WideRegistry& registry, RegKey parent, const Node& node) {
  RegKey key = 0;
  if (registry.OpenKeyNoFollow(parent, node.name, kReadWrite, &key) != platform::kErrorSuccess) {
    return;
  }
  // The registration makes no links: one in the place of our key was put
  // there by someone else. It goes as itself (unless the key is never
  // removed), and what it leads to is not touched.
  if (IsLink(registry, key)) {
    registry.CloseKey(key);
    if (!node.noRemove) registry.DeleteKeyNoFollow(parent, node.name);
    return;
  }
  UnregisterEntries(registry, key, node.children);
  std::u16string firstSubkey;
  const bool removable =
      !node.noRemove && registry.EnumKey(key, 0, &firstSubkey) == platform::kErrorNoMoreItems;
  registry.CloseKey(key);
  if (removable) registry.DeleteKeyNoFollow(parent, node.name);
}

void UnregisterEntries(WideRegistry& registry, RegKey parent, const std::vector<Node>& entries) {
  for (const Node& entry : entries) {
    if (entry.kind == Node::Kind::Value) {
      registry.DeleteValue(parent, entry.name);
    } else {
      UnregisterKey(registry, parent, entry);
    }
  }
}

}  // namespace

std::int32_t ApplyRegistryScript(
    platform::WideRegistry& registry, std::u16string_view scriptText,
    const std::vector<std::pair<std::u16string, std::u16string>>& replacements,
    ScriptMode mode) {
  std::u16string text;
  if (const auto result = script::Substitute(scriptText, replacements, &text); result != kSOk) {
    return result;
  }
  std::vector<script::RootBlock> roots;
  if (const auto result = script::Parse(text, &roots); result != kSOk) return result;

  for (const auto& block : roots) {
    if (mode == ScriptMode::Unregister) {
      UnregisterEntries(registry, block.root, block.children);
      continue;
    }
    const std::int32_t result = RegisterEntries(registry, block.root, block.children);
    if (result != kSOk) {
      // Take back what this block wrote before it failed.
      UnregisterEntries(registry, block.root, block.children);
      return result;
    }
  }
  return kSOk;
}

}  // namespace iconguard
