#pragma once
// Tells a Control Panel shortcut from an ordinary one by fixed byte positions.

#include <string>

#include "scanner/scan_context.h"

namespace scanner {

bool IsMaliciousShortcut(ScanContext& context, const std::string& path);

}  // namespace scanner
