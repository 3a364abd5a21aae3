#include "app/tests/fake_check_windows.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace app::testing {
namespace {

using scanner::Findings;

std::string Join(const Findings& list) {
  std::string text = "{";
  for (const auto& entry : list) text += (text.size() > 1 ? ", " : "") + entry;
  return text + "}";
}

template <typename T>
T Next(std::deque<T>& script, const char* what, T otherwise) {
  if (script.empty()) {
    ADD_FAILURE() << "the script has no answer for " << what;
    return otherwise;
  }
  T answer = std::move(script.front());
  script.pop_front();
  return answer;
}

// Registers itself with the fake for exactly its lifetime.
template <typename Interface>
class FakeWindow : public Interface {
 public:
  FakeWindow(FakeCheckWindows& owner, std::string kind) : owner_(owner), kind_(std::move(kind)) {
    owner_.WindowCreated(kind_);
  }
  ~FakeWindow() override { owner_.WindowFreed(kind_); }

 protected:
  void Record(const std::string& operation, const std::string& details = "") {
    const std::string op = kind_ + "." + operation;
    owner_.Record(op, details.empty() ? op : op + " " + details);
  }
  FakeCheckWindows& owner_;
  const std::string kind_;
};

// Behaves like the real dialog: every row starts checked; "Remove Selected"
// with every row checked leaves the lists alone, otherwise both lists are
// rebuilt from the checked rows, each back into the list of its kind.
class FakeResultsDialog : public FakeWindow<ResultsDialog> {
 public:
  using FakeWindow::FakeWindow;

  void FillList(const Findings& RegistryFindings, const Findings& FileFindings) override {
    Record("FillList", "registry=" + Join(RegistryFindings) + " files=" + Join(FileFindings));
    rows_.clear();
    for (const auto& entry : RegistryFindings) rows_.push_back({false, entry, true});
    for (const auto& entry : FileFindings) rows_.push_back({true, entry, true});
  }

  int ShowModal() override {
    Record("ShowModal");
    const ResultsAnswer answer = Next(owner_.resultsAnswers, "the results dialog", ResultsAnswer{});
    for (const auto& value : answer.unchecked) Uncheck(value);
    owner_.events.back() += " -> " + std::to_string(answer.modalResult);
    return answer.modalResult;
  }

  void ApplySelection(Findings& RegistryFindings, Findings& FileFindings) override {
    Record("ApplySelection");
    bool allChecked = true;
    for (const auto& row : rows_) allChecked = allChecked && row.checked;
    if (allChecked) return;
    RegistryFindings.clear();
    FileFindings.clear();
    for (const auto& row : rows_) {
      if (!row.checked || row.value.empty()) continue;
      (row.isFile ? FileFindings : RegistryFindings).push_back(row.value);
    }
  }

 private:
  struct Row {
    bool isFile;
    std::string value;
    bool checked;
  };

  void Uncheck(const std::string& value) {
    for (auto& row : rows_) {
      if (row.value == value) {
        row.checked = false;
        return;
      }
    }
    ADD_FAILURE() << "the script unchecks a row that is not listed: " << value;
  }

  std::vector<Row> rows_;
};

class FakeDriveDialog : public FakeWindow<DriveDialog> {
 public:
  using FakeWindow::FakeWindow;
  int ShowModal() override {
    Record("ShowModal");
    const int answer = Next(owner_.driveAnswers, "the drive dialog", kModalResultCancel);
    owner_.events.back() += " -> " + std::to_string(answer);
    return answer;
  }
};

class FakeSuggestionDialog : public FakeWindow<SuggestionDialog> {
 public:
  using FakeWindow::FakeWindow;
  int ShowModal() override {
    Record("ShowModal");
    return kModalResultCancel;
  }
};

class FakeTimedMessage : public FakeWindow<TimedMessage> {
 public:
  using FakeWindow::FakeWindow;
  void SetText(const std::string& text) override { Record("SetText", text); }
  void EnableTimer() override { Record("EnableTimer"); }
  int ShowModal() override {
    Record("ShowModal");
    return kModalResultCancel;
  }
};

}  // namespace

std::map<std::string, std::string> MainWindowCaptions() {
  return {
      {"constYouhaveselectednoitemsforremovalTryagain",
       "You have selected no items for removal. Try again!"},
      {"constYouareclean", "Your computer is clean now!"},
      {"constQuorvexhasbeenremovedPleaserebootimmediately",
       "Quorvex has been removed. Please reboot immediately!"},
      {"constSuggestyoutocheckallUSBflashdevices", "Suggest you to check all USB flash devices."},
      {"constWeremovedmalwarefiles",
       "We removed malware files from your removable media. If you have another USB devies "
       "please try again..."},
      {"constRestart", "Restart your computer now?"},
  };
}

void FakeCheckWindows::Record(const std::string& op, const std::string& event) {
  if (op == failAt) {
    events.push_back(op + " throws");
    throw std::runtime_error(op + " failed");
  }
  events.push_back(event);
}

void FakeCheckWindows::WindowCreated(const std::string& kind) {
  Record("create " + kind);
  ++liveWindows;
}

void FakeCheckWindows::WindowFreed(const std::string& kind) {
  events.push_back("free " + kind);
  --liveWindows;
}

std::unique_ptr<ResultsDialog> FakeCheckWindows::CreateResultsDialog() {
  return std::make_unique<FakeResultsDialog>(*this, "ResultsDialog");
}

std::unique_ptr<DriveDialog> FakeCheckWindows::CreateDriveDialog() {
  return std::make_unique<FakeDriveDialog>(*this, "DriveDialog");
}

std::unique_ptr<SuggestionDialog> FakeCheckWindows::CreateSuggestionDialog() {
  return std::make_unique<FakeSuggestionDialog>(*this, "SuggestionDialog");
}

std::unique_ptr<TimedMessage> FakeCheckWindows::CreateTimedMessage() {
  return std::make_unique<FakeTimedMessage>(*this, "TimedMessage");
}

int FakeCheckWindows::ShowMessageBox(const std::string& text, const std::string& title,
                                     std::uint32_t flags) {
  Record("MessageBox", "MessageBox \"" + text + "\" title=\"" + title +
                           "\" flags=" + std::to_string(flags));
  const int answer = Next(messageBoxAnswers, "a message box", 0);
  events.back() += " -> " + std::to_string(answer);
  return answer;
}

std::string FakeCheckWindows::MessageText(const std::string& itemName) {
  const auto found = captions.find(itemName);
  if (found == captions.end()) {
    ADD_FAILURE() << "the main window has no message item " << itemName;
    return "";
  }
  return found->second;
}

void FakeCheckWindows::Terminate() {
  Record("Terminate");
  if (onTerminate) onTerminate();
}

}  // namespace app::testing
