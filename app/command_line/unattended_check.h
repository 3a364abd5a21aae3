#pragma once
// The check of the window program without its windows, for deployment
// systems: everything found is listed (and, when asked, removed through the
// quarantine) and the run ends in a report and an exit code.

#include <cstdint>
#include <string>
#include <vector>

#include "scanner/removal.h"
#include "scanner/scan_context.h"

namespace app {

struct CheckOptions {
  bool drives = false;   // the removable drives too, whatever the system scan found
  bool remove = false;   // everything found
  bool restart = false;  // after a removal from the system
};

enum class FindingKind { RegistryKey, SystemFile, DriveFile };

struct ReportedFinding {
  FindingKind kind;
  std::string value;
  // Without a removal every finding stays LeftInPlace with reason None.
  scanner::RemovalOutcome outcome;
};

struct CheckTotals {
  std::size_t found = 0;
  std::size_t removed = 0;
  std::size_t removedAtRestart = 0;
  std::size_t alreadyGone = 0;
  std::size_t leftInPlace = 0;  // after a removal only
};

struct CheckRun {
  std::int64_t start = 0;  // seconds since 1970 UTC
  std::int64_t end = 0;
  bool removalRan = false;
  bool restartRequested = false;
  std::vector<ReportedFinding> findings;  // system keys, system files, drive files
  CheckTotals Totals() const;
  int ExitCode() const;
};

CheckRun RunUnattendedCheck(scanner::ScanContext& context, const CheckOptions& options);

}  // namespace app
