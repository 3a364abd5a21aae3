#pragma once
// Interpreter of the registration script language: root blocks of keys with
// default and named string values, NoRemove and ForceRemove flags, and
// %NAME% replacements.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/wide_registry.h"

namespace iconguard {

enum class ScriptMode { Register, Unregister };

// Applies a registry script; `replacements` maps names between percent signs
// (e.g. u"MODULE") to their text; single quotes in a replacement are doubled
// before substitution. Returns an HRESULT. A script that does not parse
// changes nothing.
std::int32_t ApplyRegistryScript(
    platform::WideRegistry& registry, std::u16string_view script,
    const std::vector<std::pair<std::u16string, std::u16string>>& replacements,
    ScriptMode mode);

}  // namespace iconguard
