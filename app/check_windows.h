#pragma once
// The seam between the check workflow and its windows. The workflow asks
// for each window when it needs it, for one showing; dropping the returned
// pointer frees the window, so a window is freed on every path, also when
// an exception interrupts the showing.
//
// Every member may throw when a window cannot be made or shown; the
// Create... members never return null.

#include <cstdint>
#include <memory>
#include <string>

#include "scanner/findings.h"

namespace app {

// What a modal showing answers; every way of closing other than the
// confirming button gives something else.
inline constexpr int kModalResultOk = 1;

// Message box buttons, icon and answer, with their Win32 values.
inline constexpr std::uint32_t kMbOk = 0x00;
inline constexpr std::uint32_t kMbYesNo = 0x04;
inline constexpr std::uint32_t kMbIconExclamation = 0x30;
inline constexpr int kIdYes = 6;

class ModalWindow {
 public:
  virtual ~ModalWindow() = default;
  // Shows the window modally, owned by the application; returns the
  // modal result.
  virtual int ShowModal() = 0;
};

// Lists the findings with a check box each; "Remove Selected" answers
// kModalResultOk.
class ResultsDialog : public ModalWindow {
 public:
  virtual void FillList(const scanner::Findings& RegistryFindings,
                        const scanner::Findings& FileFindings) = 0;
  // After kModalResultOk: cuts both lists down to the rows left checked.
  virtual void ApplySelection(scanner::Findings& RegistryFindings,
                              scanner::Findings& FileFindings) = 0;
};

// Asks whether the removable drives are to be checked now (kModalResultOk).
class DriveDialog : public ModalWindow {};

// Closes a check that found nothing.
class SuggestionDialog : public ModalWindow {};

// A message that closes by itself once its timer has fired.
class TimedMessage : public ModalWindow {
 public:
  virtual void SetText(const std::string& text) = 0;
  virtual void EnableTimer() = 0;
};

class CheckWindows {
 public:
  virtual ~CheckWindows() = default;

  virtual std::unique_ptr<ResultsDialog> CreateResultsDialog() = 0;
  virtual std::unique_ptr<DriveDialog> CreateDriveDialog() = 0;
  virtual std::unique_ptr<SuggestionDialog> CreateSuggestionDialog() = 0;
  virtual std::unique_ptr<TimedMessage> CreateTimedMessage() = 0;

  // A system message box owned by the application; returns the button
  // pressed.
  virtual int ShowMessageBox(const std::string& text, const std::string& title,
                             std::uint32_t flags) = 0;
  // The current caption of the main window's message item `itemName`
  // (such as "constRestart"), read anew on every call so that a
  // translated caption is what the user sees.
  virtual std::string MessageText(const std::string& itemName) = 0;
  // Asks the application to terminate once control returns to its
  // message loop.
  virtual void Terminate() = 0;
};

}  // namespace app
