#include "app/windows/program_check_windows.h"

#include <memory>

#include "app/application_title.h"
#include "app/windows/exmes.h"
#include "app/windows/found.h"
#include "app/windows/mainr.h"
#include "app/windows/suggest.h"
#include "app/windows/usbcheck.h"

namespace app {
namespace {

// A window of the check: made for one showing, freed with this object.
template <class Seam, class Window>
class Showing : public Seam {
 public:
  explicit Showing(std::unique_ptr<Window> window) : window_(std::move(window)) {}
  int ShowModal() override { return window_->ShowModal(); }

 protected:
  Window& window() { return *window_; }

 private:
  std::unique_ptr<Window> window_;
};

class ResultsShowing : public Showing<ResultsDialog, TfrmFound> {
 public:
  using Showing::Showing;
  void FillList(const scanner::Findings& RegistryFindings,
                const scanner::Findings& FileFindings) override {
    window().FillList(&RegistryFindings, &FileFindings);
  }
  void ApplySelection(scanner::Findings& RegistryFindings,
                      scanner::Findings& FileFindings) override {
    window().ApplySelection(&RegistryFindings, &FileFindings);
  }
};

class MessageShowing : public Showing<TimedMessage, TfrmExMes> {
 public:
  using Showing::Showing;
  void SetText(const std::string& text) override { window().SetText(text); }
  void EnableTimer() override { window().EnableTimer(); }
};

}  // namespace

std::unique_ptr<ResultsDialog> ProgramCheckWindows::CreateResultsDialog() {
  return std::make_unique<ResultsShowing>(std::make_unique<TfrmFound>(windows_, desktop_));
}

std::unique_ptr<DriveDialog> ProgramCheckWindows::CreateDriveDialog() {
  return std::make_unique<Showing<DriveDialog, TfrmUSB>>(
      std::make_unique<TfrmUSB>(windows_, desktop_));
}

std::unique_ptr<SuggestionDialog> ProgramCheckWindows::CreateSuggestionDialog() {
  return std::make_unique<Showing<SuggestionDialog, TfrmSuggest>>(
      std::make_unique<TfrmSuggest>(windows_, desktop_));
}

std::unique_ptr<TimedMessage> ProgramCheckWindows::CreateTimedMessage() {
  return std::make_unique<MessageShowing>(
      std::make_unique<TfrmExMes>(windows_, desktop_, kApplicationTitle));
}

int ProgramCheckWindows::ShowMessageBox(const std::string& text, const std::string& title,
                                        std::uint32_t flags) {
  return desktop_.ShowMessageBox(text, title, flags);
}

std::string ProgramCheckWindows::MessageText(const std::string& itemName) {
  return main_.MessageText(itemName);
}

void ProgramCheckWindows::Terminate() { desktop_.Terminate(); }

}  // namespace app
