#pragma once
// Deletes confirmed findings and asks the system to restart.

#include <string>

#include "scanner/findings.h"
#include "scanner/scan_context.h"

namespace scanner {

bool DeleteFoundFiles(ScanContext& context, const Findings& FileFindings);
bool DeleteFoundFile(ScanContext& context, const std::string& path);
bool DeleteFoundKeys(ScanContext& context, const Findings& RegistryFindings);
void RestartComputer(ScanContext& context);

}  // namespace scanner
