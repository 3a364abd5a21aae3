#include "app/check_workflow.h"

#include "app/application_title.h"
#include "app/removal_message.h"
#include "quarantine/quarantine.h"
#include "scanner/drive_scan.h"
#include "scanner/removal.h"
#include "scanner/system_scan.h"

namespace app {
namespace {

using scanner::Findings;

// Shows the findings; true when the user pressed "Remove Selected" and left
// at least one row checked. The lists then hold only the checked rows.
bool ConfirmRemoval(CheckWindows& windows, Findings& RegistryFindings,
                    Findings& FileFindings) {
  bool removal = false;
  {
    const auto dialog = windows.CreateResultsDialog();
    dialog->FillList(RegistryFindings, FileFindings);
    if (dialog->ShowModal() == kModalResultOk) {
      removal = true;
      dialog->ApplySelection(RegistryFindings, FileFindings);
    }
  }  // freed before any message appears
  if (removal && RegistryFindings.empty() && FileFindings.empty()) {
    removal = false;
    windows.ShowMessageBox(windows.MessageText("constYouhaveselectednoitemsforremovalTryagain"),
                           kApplicationTitle, kMbOk);
  }
  return removal;
}

// Removes the confirmed findings, each kept in the quarantine first.
scanner::RemovalReport RemoveFindings(scanner::ScanContext& context,
                                      const Findings& RegistryFindings,
                                      const Findings& FileFindings) {
  quarantine::Quarantine keeper(context.machine);
  scanner::RemovalReport report;
  scanner::DeleteFoundFiles(context, FileFindings, keeper, report);
  scanner::DeleteFoundKeys(context, RegistryFindings, keeper, report);
  return report;
}

// After the success message: what stayed, and why.
void ReportLeftInPlace(CheckWindows& windows, const scanner::RemovalReport& report) {
  const std::string text = LeftInPlaceMessage(report);
  if (!text.empty()) windows.ShowMessageBox(text, kApplicationTitle, kMbOk | kMbIconExclamation);
}

void HandleInfection(scanner::ScanContext& context, CheckWindows& windows,
                     Findings& RegistryFindings, Findings& FileFindings) {
  if (!ConfirmRemoval(windows, RegistryFindings, FileFindings)) return;
  const auto report = RemoveFindings(context, RegistryFindings, FileFindings);
  ShowTimedMessage(windows,
                   windows.MessageText("constQuorvexhasbeenremovedPleaserebootimmediately"));
  ReportLeftInPlace(windows, report);
  const int answer = windows.ShowMessageBox(windows.MessageText("constRestart"), kApplicationTitle,
                                            kMbYesNo | kMbIconExclamation);
  if (answer == kIdYes) {
    scanner::RestartComputer(context);
    windows.Terminate();
  }
}

void HandleCleanSystem(scanner::ScanContext& context, CheckWindows& windows,
                       Findings& RegistryFindings, Findings& FileFindings) {
  ShowTimedMessage(windows, windows.MessageText("constYouareclean") + "\n" +
                                windows.MessageText("constSuggestyoutocheckallUSBflashdevices"));
  // The drive check replaces whatever the system scan left in FileFindings
  // (loader files alone do not make an infection and are never offered).
  if (CheckRemovableDrives(context, windows, &FileFindings)) {
    if (ConfirmRemoval(windows, RegistryFindings, FileFindings)) {
      const auto report = RemoveFindings(context, RegistryFindings, FileFindings);
      ShowTimedMessage(windows, windows.MessageText("constWeremovedmalwarefiles"));
      ReportLeftInPlace(windows, report);
    }
    return;
  }
  const auto suggestion = windows.CreateSuggestionDialog();
  suggestion->ShowModal();
}

}  // namespace

void RunCheck(scanner::ScanContext& context, CheckWindows& windows) noexcept {
  try {
    // Fresh lists and a freshly read Windows directory for every run.
    Findings RegistryFindings;
    Findings FileFindings;
    scanner::GetWindowsDir(context);
    if (scanner::ScanSystem(context, &RegistryFindings, &FileFindings)) {
      HandleInfection(context, windows, RegistryFindings, FileFindings);
    } else {
      HandleCleanSystem(context, windows, RegistryFindings, FileFindings);
    }
  } catch (...) {
    // The check just ends; the main window stays for another one.
  }
}

void ShowTimedMessage(CheckWindows& windows, const std::string& text) {
  const auto message = windows.CreateTimedMessage();
  message->SetText(text);
  message->EnableTimer();
  message->ShowModal();
}

bool CheckRemovableDrives(scanner::ScanContext& context, CheckWindows& windows,
                          scanner::Findings* FileFindings) noexcept {
  if (FileFindings == nullptr) return false;
  try {
    // The dialog lives until the scan is over.
    const auto dialog = windows.CreateDriveDialog();
    if (dialog->ShowModal() != kModalResultOk) return false;
    FileFindings->clear();
    return scanner::ScanRemovableDrives(context, *FileFindings);
  } catch (...) {
    return false;
  }
}

}  // namespace app
