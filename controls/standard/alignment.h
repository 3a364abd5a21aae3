#pragma once
// Where text sits across a control: the labels' and panels' Alignment.

#include <cstdint>
#include <string>
#include <vector>

namespace controls {

enum class TAlignment : std::int32_t { taLeftJustify, taRightJustify, taCenter };

inline const std::vector<std::string>& AlignmentNames() {
  static const std::vector<std::string> names = {"taLeftJustify", "taRightJustify", "taCenter"};
  return names;
}

}  // namespace controls
