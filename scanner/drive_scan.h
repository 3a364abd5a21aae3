#pragma once
// Looks in the root of every removable drive for Control Panel shortcuts,
// executables disguised as .TMP files and AUTORUN.INF.

#include <string>
#include <vector>

#include "scanner/findings.h"
#include "scanner/scan_context.h"

namespace scanner {

// True when FileFindings holds at least one entry afterwards.
bool ScanRemovableDrives(ScanContext& context, Findings& FileFindings);
// Upper-cased drive names without the trailing backslash ("E:").
void ListRemovableDrives(ScanContext& context, std::vector<std::string>& drives);
void ScanDriveRoot(ScanContext& context, const std::string& directory, Findings& FileFindings);
bool IsDisguisedExecutable(ScanContext& context, const std::string& path);

}  // namespace scanner
