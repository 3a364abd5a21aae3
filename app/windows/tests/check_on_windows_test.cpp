// A whole check through the program's own windows on an in-memory machine:
// the right window for each step, the user's choice in the results dialog
// reaching the removal, and the messages read from the main window.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tests/machine_seeds.h"
#include "app/windows/exmes.h"
#include "app/windows/found.h"
#include "app/windows/mainr.h"
#include "app/windows/suggest.h"
#include "app/windows/tests/recording_desktop.h"
#include "app/windows/usbcheck.h"
#include "controls/enhlv/enhlv.h"
#include "ui/class_info.h"
#include "ui/property.h"

namespace app::testing {
namespace {

constexpr int kIdNo = 7;

class CheckOnWindowsTest : public ::testing::Test {
 protected:
  CheckOnWindowsTest() {
    desktop_.ProvideBitmaps(windows_);
    AddBaseSystem(machine_);
    AddRemovableDrive(machine_);
    // The user: what each window shows is noted, then answered.
    windows_.whileModal = [this](ui::Form& shown) {
      shown_.push_back(shown.Class().Name());
      if (auto* found = dynamic_cast<TfrmFound*>(&shown)) {
        auto& rows = dynamic_cast<controls::TEnhListView&>(*found->FindComponent("lvList")).Items();
        for (int i = 0; i < rows.Count(); ++i) {
          if (rows[i].SubItems().Text(0) == keep_) rows[i].SetChecked(false);
        }
        Click(shown, "btRemove");
      } else if (dynamic_cast<TfrmUSB*>(&shown)) {
        Click(shown, "btCheck");
      } else if (dynamic_cast<TfrmExMes*>(&shown)) {
        messages_.push_back(shown.Caption() + ": " + Label(shown));
        windows_.timers.back().elapsed();
      } else if (dynamic_cast<TfrmSuggest*>(&shown)) {
        Click(shown, "btExit");
      }
    };
  }

  static void Click(ui::Form& form, const std::string& name) {
    auto& control = dynamic_cast<ui::Control&>(*form.FindComponent(name));
    control.OnClick(control);
  }
  static std::string Label(ui::Form& form) {
    return std::get<std::string>(
        form.FindComponent("lblText")->Class().FindProperty("Caption")->get(
            *form.FindComponent("lblText")));
  }

  void RunFromTheMainWindow() {
    TfrmMain main(windows_, desktop_, context_);
    main.btCheckClick(main);
  }

  ui::testing::FakeWindowSystem windows_;
  RecordingDesktop desktop_;
  platform::memory::MemoryMachine machine_;
  scanner::ScanContext context_{machine_.machine(), {}};
  std::string keep_;  // the row the user unchecks
  std::vector<std::string> shown_;
  std::vector<std::string> messages_;
};

TEST_F(CheckOnWindowsTest, InfectedMachineRemovesWhatTheUserLeftCheckedAndAsksToRestart) {
  AddInfection(machine_);
  keep_ = kMrxClsDriver;
  desktop_.boxAnswers = {kIdNo};

  RunFromTheMainWindow();

  EXPECT_EQ(shown_, (std::vector<std::string>{"TfrmFound", "TfrmExMes"}));
  EXPECT_EQ(messages_, (std::vector<std::string>{
                           "Quorvex Remover: Quorvex has been removed. Please reboot immediately!"}));
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].text, "Restart your computer now?");
  EXPECT_EQ(desktop_.boxes[0].title, "Quorvex Remover");
  EXPECT_EQ(desktop_.boxes[0].flags, 52u);
  EXPECT_EQ(desktop_.terminated, 0);
  EXPECT_FALSE(machine_.registry.HasKey(platform::kLocalMachine,
                                        "System\\CurrentControlSet\\Services\\MrxNet"));
  EXPECT_FALSE(machine_.files.Exists(kMrxNetDriver));
  EXPECT_TRUE(machine_.files.Exists(kMrxClsDriver)) << "left unchecked";
  EXPECT_TRUE(machine_.token.ExitRequests().empty());
}

TEST_F(CheckOnWindowsTest, CleanMachineChecksTheDrivesAndRemovesTheirThreatsWithoutRestart) {
  AddAutorun(machine_);
  AddDisguisedExecutable(machine_);

  RunFromTheMainWindow();

  EXPECT_EQ(shown_,
            (std::vector<std::string>{"TfrmExMes", "TfrmUSB", "TfrmFound", "TfrmExMes"}));
  EXPECT_EQ(messages_,
            (std::vector<std::string>{
                "Quorvex Remover: Your computer is clean now!\nSuggest you to check all USB flash "
                "devices.",
                "Quorvex Remover: We removed malware files from your removable media. If you have "
                "another USB devies please try again..."}));
  EXPECT_TRUE(desktop_.boxes.empty()) << "no restart question";
  EXPECT_FALSE(machine_.files.Exists(kAutorun));
  EXPECT_FALSE(machine_.files.Exists(kDisguisedExecutable));
  EXPECT_TRUE(machine_.files.Exists("E:\\holiday.jpg"));
}

TEST_F(CheckOnWindowsTest, CleanDrivesEndWithTheSuggestion) {
  RunFromTheMainWindow();
  EXPECT_EQ(shown_, (std::vector<std::string>{"TfrmExMes", "TfrmUSB", "TfrmSuggest"}));
}

}  // namespace
}  // namespace app::testing
