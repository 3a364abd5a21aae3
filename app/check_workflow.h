#pragma once
// One click on "Check Me Now!": the system scan, the user's confirmation,
// the removal and the restart question; on a clean machine the offer to
// check the removable drives.

#include <string>

#include "app/check_windows.h"
#include "scanner/findings.h"
#include "scanner/scan_context.h"

namespace app {

// Runs one whole check. Never throws: an error ends the check silently
// with every window and both findings lists freed.
void RunCheck(scanner::ScanContext& context, CheckWindows& windows) noexcept;

// Shows `text` in a timed message dialog and waits until it closes.
void ShowTimedMessage(CheckWindows& windows, const std::string& text);

// Offers the drive check; when the user accepts, clears FileFindings and
// scans the removable drives into it. True when the scan found a file;
// false for a missing list, a declined offer or any failure.
bool CheckRemovableDrives(scanner::ScanContext& context, CheckWindows& windows,
                          scanner::Findings* FileFindings) noexcept;

}  // namespace app
