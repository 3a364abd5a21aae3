#include "app/command_line/unattended_check.h"

#include <algorithm>

#include "app/command_line/exit_codes.h"
#include "quarantine/quarantine.h"
#include "scanner/drive_scan.h"
#include "scanner/system_scan.h"

namespace app {
namespace {

using scanner::Findings;
using scanner::RemovalState;

void Add(std::vector<ReportedFinding>& findings, FindingKind kind, const Findings& values) {
  for (const std::string& value : values) {
    findings.push_back({kind, value,
                        {value, scanner::RemovalState::LeftInPlace, scanner::LeftReason::None, ""}});
  }
}

// Hands the findings of `kinds` their outcomes from `report`, which holds
// one per non-empty finding, in list order.
void Assign(std::vector<ReportedFinding>& findings, std::vector<FindingKind> kinds,
            const scanner::RemovalReport& report) {
  std::size_t next = 0;
  for (ReportedFinding& finding : findings) {
    if (std::find(kinds.begin(), kinds.end(), finding.kind) == kinds.end()) continue;
    if (finding.value.empty() || next == report.size()) continue;
    if (report[next].finding == finding.value) finding.outcome = report[next++];
  }
}

}  // namespace

CheckTotals CheckRun::Totals() const {
  CheckTotals totals;
  totals.found = findings.size();
  for (const ReportedFinding& finding : findings) {
    switch (finding.outcome.state) {
      case RemovalState::Removed: ++totals.removed; break;
      case RemovalState::RemovedAtRestart: ++totals.removedAtRestart; break;
      case RemovalState::AlreadyGone: ++totals.alreadyGone; break;
      case RemovalState::LeftInPlace:
        if (removalRan) ++totals.leftInPlace;
        break;
    }
  }
  return totals;
}

int CheckRun::ExitCode() const {
  const CheckTotals totals = Totals();
  if (totals.found == 0) return kExitDone;
  if (!removalRan) return kExitFound;
  return totals.leftInPlace == 0 ? kExitAllRemoved : kExitSomeLeft;
}

CheckRun RunUnattendedCheck(scanner::ScanContext& context, const CheckOptions& options) {
  CheckRun run;
  run.start = context.machine.clock.UtcSeconds();
  Findings keys;
  Findings systemFiles;
  scanner::GetWindowsDir(context);
  // As in the window program: loader files without a service are no
  // infection and are not reported.
  if (!scanner::ScanSystem(context, &keys, &systemFiles)) {
    keys.clear();
    systemFiles.clear();
  }
  Findings driveFiles;
  if (options.drives) scanner::ScanRemovableDrives(context, driveFiles);
  Add(run.findings, FindingKind::RegistryKey, keys);
  Add(run.findings, FindingKind::SystemFile, systemFiles);
  Add(run.findings, FindingKind::DriveFile, driveFiles);

  if (options.remove && !run.findings.empty()) {
    quarantine::Quarantine keeper(context.machine);
    Findings files = systemFiles;
    files.insert(files.end(), driveFiles.begin(), driveFiles.end());
    scanner::RemovalReport fileOutcomes;
    scanner::RemovalReport keyOutcomes;
    // Files first, then keys, as the window program removes them.
    scanner::DeleteFoundFiles(context, files, keeper, fileOutcomes);
    scanner::DeleteFoundKeys(context, keys, keeper, keyOutcomes);
    Assign(run.findings, {FindingKind::SystemFile, FindingKind::DriveFile}, fileOutcomes);
    Assign(run.findings, {FindingKind::RegistryKey}, keyOutcomes);
    run.removalRan = true;
    if (options.restart && !(keys.empty() && systemFiles.empty())) {
      scanner::RestartComputer(context);
      run.restartRequested = true;
    }
  }
  run.end = context.machine.clock.UtcSeconds();
  return run;
}

}  // namespace app
