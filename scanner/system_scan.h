#pragma once
// Looks for the rootkit's driver services and loader files.

#include <string>
#include <vector>

#include "scanner/findings.h"
#include "scanner/scan_context.h"

namespace scanner {

// Reads the Windows directory into context.WindowsDir ("" on failure).
void GetWindowsDir(ScanContext& context);
// The whole system scan; true when a driver service was found. False
// without doing anything when either list is missing.
bool ScanSystem(ScanContext& context, Findings* RegistryFindings, Findings* FileFindings);
bool ScanDriverServices(ScanContext& context, const std::vector<std::string>& names,
                        Findings& RegistryFindings, Findings& FileFindings);
std::string NormalizeDriverPath(ScanContext& context, const std::string& raw);
std::string ExpandPathVariables(ScanContext& context, const std::string& path);
// WindowsDir + "\inf\" + fileName when that file exists, else "".
std::string FindInfFile(ScanContext& context, const std::string& fileName);

}  // namespace scanner
