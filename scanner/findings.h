#pragma once
// The two findings lists of one check: registry keys ("HKLM\..." and the
// like) and full file paths, each in the order found.

#include <string>
#include <vector>

namespace scanner {

using Findings = std::vector<std::string>;

}  // namespace scanner
