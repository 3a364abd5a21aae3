#pragma once
// A registry key with everything below it, as bytes: each key is 'K', its
// name, its values ('V', name, type, raw data) and subkeys, then 'E'.
// Names are UTF-16LE with a u32 length in code units; data has a u32 length
// in bytes. A symbolic link is copied as the key it is opened as without
// following it: a key holding its "SymbolicLinkValue", nothing below.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/wide_registry.h"

namespace quarantine {

struct KeyValue {
  std::u16string name;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

struct KeyNode {
  std::u16string name;
  std::vector<KeyValue> values;
  std::vector<KeyNode> subkeys;
};

// Reads the key `path` below `root` and its whole tree; nullopt when any
// part of it cannot be read (so that nothing is deleted that is not kept).
// The tree's name is the key's own name as the registry spells it.
std::optional<KeyNode> CaptureKeyTree(platform::WideRegistry& registry, platform::RegKey root,
                                      const std::u16string& path);

std::vector<std::uint8_t> EncodeKeyTree(const KeyNode& tree);
// nullopt for bytes that are not exactly one well-formed tree.
std::optional<KeyNode> DecodeKeyTree(const std::vector<std::uint8_t>& bytes);

// Creates the key `path` below `root` (its last part spelled as the tree's
// name) and writes the tree into it, values over existing ones of the same
// name; 0 or the first failing status.
std::int32_t WriteKeyTree(platform::WideRegistry& registry, platform::RegKey root,
                          const std::u16string& path, const KeyNode& tree);

}  // namespace quarantine
