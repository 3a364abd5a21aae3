#pragma once
// The registration script turned into a tree before anything is written, so
// a malformed script leaves the registry untouched.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace iconguard::script {

struct Node {
  enum class Kind { Key, Value };
  Kind kind = Kind::Key;
  std::u16string name;
  // A key's default value, or a named value's data.
  std::optional<std::u16string> text;
  bool noRemove = false;
  bool forceRemove = false;
  std::vector<Node> children;  // keys only, in script order
};

struct RootBlock {
  platform::RegKey root = 0;
  std::vector<Node> children;
};

using Replacements = std::vector<std::pair<std::u16string, std::u16string>>;

// Replaces %NAME% with its text (single quotes doubled) and %% with %.
// Returns an HRESULT.
std::int32_t Substitute(std::u16string_view script, const Replacements& replacements,
                        std::u16string* out);

// Returns an HRESULT; on success `roots` holds every root block in order.
std::int32_t Parse(std::u16string_view text, std::vector<RootBlock>* roots);

}  // namespace iconguard::script
