#pragma once
// The check's windows as the program shows them: each dialog a window made
// from its stored form for one showing, the messages read from the main
// window's message menu.

#include "app/check_windows.h"
#include "app/windows/desktop.h"
#include "ui/window_system.h"

namespace app {

class TfrmMain;

class ProgramCheckWindows : public CheckWindows {
 public:
  ProgramCheckWindows(ui::WindowSystem& windows, Desktop& desktop, const TfrmMain& main)
      : windows_(windows), desktop_(desktop), main_(main) {}

  std::unique_ptr<ResultsDialog> CreateResultsDialog() override;
  std::unique_ptr<DriveDialog> CreateDriveDialog() override;
  std::unique_ptr<SuggestionDialog> CreateSuggestionDialog() override;
  std::unique_ptr<TimedMessage> CreateTimedMessage() override;
  int ShowMessageBox(const std::string& text, const std::string& title,
                     std::uint32_t flags) override;
  std::string MessageText(const std::string& itemName) override;
  void Terminate() override;

 private:
  ui::WindowSystem& windows_;
  Desktop& desktop_;
  const TfrmMain& main_;
};

}  // namespace app
