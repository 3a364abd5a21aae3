#pragma once
// A scripted stand-in for the check's windows: answers every showing from a
// script and records, in order, each window created, filled, shown and
// freed, each message box and the request to terminate.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/check_windows.h"

namespace app::testing {

// Any close other than the confirming button.
inline constexpr int kModalResultCancel = 2;
inline constexpr int kIdNo = 7;

// The main window's message items and their captions.
std::map<std::string, std::string> MainWindowCaptions();

// How the user answers one showing of the results dialog: the rows (by
// their value) unchecked before closing, and the modal result.
struct ResultsAnswer {
  int modalResult = kModalResultCancel;
  std::vector<std::string> unchecked;
};

class FakeCheckWindows : public CheckWindows {
 public:
  // The script, consumed front first.
  std::deque<ResultsAnswer> resultsAnswers;
  std::deque<int> driveAnswers;
  std::deque<int> messageBoxAnswers;
  // An operation that throws instead of happening, named as its event
  // begins: "create DriveDialog", "ResultsDialog.ShowModal", "MessageBox".
  std::string failAt;
  std::map<std::string, std::string> captions = MainWindowCaptions();
  // Runs when Terminate is recorded, to look at the machine at that moment.
  std::function<void()> onTerminate;

  // What happened, one line per operation.
  std::vector<std::string> events;
  int liveWindows = 0;

  std::unique_ptr<ResultsDialog> CreateResultsDialog() override;
  std::unique_ptr<DriveDialog> CreateDriveDialog() override;
  std::unique_ptr<SuggestionDialog> CreateSuggestionDialog() override;
  std::unique_ptr<TimedMessage> CreateTimedMessage() override;
  int ShowMessageBox(const std::string& text, const std::string& title,
                     std::uint32_t flags) override;
  std::string MessageText(const std::string& itemName) override;
  void Terminate() override;

  // Records `event`, or records "<op> throws" and throws when `op` is failAt.
  void Record(const std::string& op, const std::string& event);
  void Record(const std::string& op) { Record(op, op); }
  // Called by the windows; "create <kind>" and "free <kind>".
  void WindowCreated(const std::string& kind);
  void WindowFreed(const std::string& kind);
};

}  // namespace app::testing
