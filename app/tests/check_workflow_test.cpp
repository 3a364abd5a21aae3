// Whole checks on an in-memory machine, with the windows scripted: each test
// asserts the windows and texts in the order shown and what the machine
// looks like afterwards.

#include "app/check_workflow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/tests/fake_check_windows.h"
#include "app/tests/machine_seeds.h"
#include "quarantine/quarantine.h"
#include "scanner/scan_context.h"

namespace app::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Events = std::vector<std::string>;

constexpr char kNoSelection[] = "You have selected no items for removal. Try again!";
constexpr char kRemoved[] = "Quorvex has been removed. Please reboot immediately!";
constexpr char kClean[] =
    "Your computer is clean now!\nSuggest you to check all USB flash devices.";
constexpr char kMediaCleaned[] =
    "We removed malware files from your removable media. If you have another USB devies please "
    "try again...";
constexpr char kRestart[] = "Restart your computer now?";
constexpr int kRestartFlags = 52;  // MB_YESNO | MB_ICONEXCLAMATION
constexpr int kLeftFlags = 48;     // MB_OK | MB_ICONEXCLAMATION
constexpr int kIdOk = 1;

const std::vector<std::string> kInfectionKeys = {kMrxNetKey, kMrxClsKey};
const std::vector<std::string> kInfectionFiles = {kMrxNetDriver, kMrxClsDriver,
                                                  "C:\\WINDOWS\\inf\\mdmcpq3.PNF",
                                                  "C:\\WINDOWS\\inf\\oem7A.PNF"};

std::string List(const std::vector<std::string>& entries) {
  std::string text = "{";
  for (const auto& entry : entries) text += (text.size() > 1 ? ", " : "") + entry;
  return text + "}";
}

Events Seq(std::initializer_list<Events> parts) {
  Events all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Events Results(const std::vector<std::string>& keys, const std::vector<std::string>& files,
               int modalResult) {
  Events events = {"create ResultsDialog",
                   "ResultsDialog.FillList registry=" + List(keys) + " files=" + List(files),
                   "ResultsDialog.ShowModal -> " + std::to_string(modalResult)};
  if (modalResult == kModalResultOk) events.push_back("ResultsDialog.ApplySelection");
  events.push_back("free ResultsDialog");
  return events;
}

Events Timed(const std::string& text) {
  return {"create TimedMessage", "TimedMessage.SetText " + text, "TimedMessage.EnableTimer",
          "TimedMessage.ShowModal", "free TimedMessage"};
}

Events Box(const std::string& text, int flags, int answer) {
  return {"MessageBox \"" + text + "\" title=\"Quorvex Remover\" flags=" + std::to_string(flags) +
          " -> " + std::to_string(answer)};
}

Events Drive(int modalResult) {
  return {"create DriveDialog", "DriveDialog.ShowModal -> " + std::to_string(modalResult),
          "free DriveDialog"};
}

const Events kSuggestion = {"create SuggestionDialog", "SuggestionDialog.ShowModal",
                            "free SuggestionDialog"};

// The infected machine the removal scenarios start from.
void SeedInfectedMachine(MemoryMachine& machine) {
  AddBaseSystem(machine);
  AddInfection(machine);
  AddLoaderFile(machine, "mdmcpq3.PNF");
  AddLoaderFile(machine, "oem7A.PNF");
  AddRemovableDrive(machine);
}

class CheckWorkflowTest : public ::testing::Test {
 protected:
  void Run() { RunCheck(context, windows); }

  // Whatever branch ran, the script was used up and nothing stayed open.
  void TearDown() override {
    EXPECT_EQ(windows.liveWindows, 0);
    EXPECT_TRUE(windows.resultsAnswers.empty());
    EXPECT_TRUE(windows.driveAnswers.empty());
    EXPECT_TRUE(windows.messageBoxAnswers.empty());
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
  }

  bool DrivesScanned() const { return !machine.drives.ErrorModeCalls().empty(); }

  // The machine apart from the quarantine, which every removal fills.
  std::string Outside() const {
    const std::string snapshot = machine.Snapshot();
    std::string kept;
    for (std::size_t at = 0; at < snapshot.size();) {
      const std::size_t end = std::min(snapshot.find('\n', at), snapshot.size());
      const std::string line = snapshot.substr(at, end - at + 1);
      if (!line.starts_with("C:\\ProgramData\\Quorvex Remover")) kept += line;
      at = end + 1;
    }
    return kept;
  }
  // The original places of the quarantine's items, in the order kept.
  std::vector<std::string> Quarantined() {
    std::vector<std::string> places;
    for (const auto& item : quarantine::Quarantine(machine.machine()).List().items) {
      places.push_back(item.originalPath);
    }
    return places;
  }

  MemoryMachine machine;
  scanner::ScanContext context{machine.machine(), ""};
  FakeCheckWindows windows;
};

TEST_F(CheckWorkflowTest, InfectedMachineClosedWithExitKeepsEverything) {
  SeedInfectedMachine(machine);
  const std::string before = machine.Snapshot();
  windows.resultsAnswers = {{kModalResultCancel, {}}};

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Results(kInfectionKeys, kInfectionFiles, kModalResultCancel)));
  EXPECT_EQ(machine.Snapshot(), before);
}

TEST_F(CheckWorkflowTest, EveryRowUncheckedShowsTheNoSelectionBoxAndKeepsEverything) {
  SeedInfectedMachine(machine);
  const std::string before = machine.Snapshot();
  std::vector<std::string> everyRow = kInfectionKeys;
  everyRow.insert(everyRow.end(), kInfectionFiles.begin(), kInfectionFiles.end());
  windows.resultsAnswers = {{kModalResultOk, everyRow}};
  windows.messageBoxAnswers = {kIdOk};

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Results(kInfectionKeys, kInfectionFiles, kModalResultOk),
                                    Box(kNoSelection, 0, kIdOk)})));
  EXPECT_EQ(machine.Snapshot(), before);
}

TEST_F(CheckWorkflowTest, RestartDeclinedRemovesTheCheckedRowsAndTheNextCheckStartsAfresh) {
  SeedInfectedMachine(machine);
  windows.resultsAnswers = {{kModalResultOk, {kMrxClsKey, "C:\\WINDOWS\\inf\\oem7A.PNF"}}};
  windows.messageBoxAnswers = {kIdNo};

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Results(kInfectionKeys, kInfectionFiles, kModalResultOk),
                                    Timed(kRemoved), Box(kRestart, kRestartFlags, kIdNo)})));
  MemoryMachine expected;
  AddBaseSystem(expected);
  AddMrxClsService(expected);
  AddLoaderFile(expected, "oem7A.PNF");
  AddRemovableDrive(expected);
  EXPECT_EQ(Outside(), expected.Snapshot());
  EXPECT_THAT(Quarantined(),
              ElementsAre(kMrxNetDriver, kMrxClsDriver, "C:\\WINDOWS\\inf\\mdmcpq3.PNF",
                          "HKLM\\SYSTEM\\CURRENTCONTROLSET\\SERVICES\\MRXNET"));
  EXPECT_TRUE(machine.token.ExitRequests().empty());

  // The Windows directory moves before the second check: it must be read
  // anew, and nothing of the first check's lists may reappear.
  machine.files.SetWindowsDirectory("D:\\WINNT");
  AddLoaderFile(machine, "oem6C.PNF", "D:\\WINNT");
  windows.events.clear();
  windows.resultsAnswers = {{kModalResultCancel, {}}};

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Results({kMrxClsKey},
                                       {"D:\\WINNT\\SYSTEM32\\DRIVERS\\MRXCLS.SYS",
                                        "D:\\WINNT\\inf\\oem6C.PNF"},
                                       kModalResultCancel)));
}

TEST_F(CheckWorkflowTest, KeysLeftCheckedWithEveryFileUncheckedAreStillRemoved) {
  SeedInfectedMachine(machine);
  windows.resultsAnswers = {{kModalResultOk, kInfectionFiles}};
  windows.messageBoxAnswers = {kIdNo};

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Results(kInfectionKeys, kInfectionFiles, kModalResultOk),
                                    Timed(kRemoved), Box(kRestart, kRestartFlags, kIdNo)})));
  MemoryMachine expected;
  AddBaseSystem(expected);
  AddMrxNetDriver(expected);
  AddMrxClsDriver(expected);
  AddLoaderFile(expected, "mdmcpq3.PNF");
  AddLoaderFile(expected, "oem7A.PNF");
  AddRemovableDrive(expected);
  EXPECT_EQ(Outside(), expected.Snapshot());
}

TEST_F(CheckWorkflowTest, RestartAcceptedRemovesEverythingRequestsTheRebootThenTerminates) {
  SeedInfectedMachine(machine);
  windows.resultsAnswers = {{kModalResultOk, {}}};
  windows.messageBoxAnswers = {kIdYes};
  std::size_t rebootsRequestedAtTerminate = 0;
  windows.onTerminate = [&] { rebootsRequestedAtTerminate = machine.token.ExitRequests().size(); };

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Results(kInfectionKeys, kInfectionFiles, kModalResultOk),
                                    Timed(kRemoved), Box(kRestart, kRestartFlags, kIdYes),
                                    {"Terminate"}})));
  MemoryMachine expected;
  AddBaseSystem(expected);
  AddRemovableDrive(expected);
  EXPECT_EQ(Outside(), expected.Snapshot());
  EXPECT_TRUE(machine.token.ShutdownPrivilegeEnabled());
  ASSERT_EQ(machine.token.ExitRequests().size(), 1u);
  EXPECT_EQ(machine.token.ExitRequests()[0].flags, 2u);  // EWX_REBOOT
  EXPECT_EQ(machine.token.ExitRequests()[0].reason, 0xFFFFFFFFu);
  EXPECT_EQ(machine.token.OpenTokenCount(), 0u);
  EXPECT_EQ(rebootsRequestedAtTerminate, 1u);
}

TEST_F(CheckWorkflowTest, CleanMachineWithTheDriveCheckDeclinedShowsTheSuggestion) {
  AddBaseSystem(machine);
  AddRemovableDrive(machine);
  AddAutorun(machine);
  const std::string before = machine.Snapshot();
  windows.driveAnswers = {kModalResultCancel};

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Timed(kClean), Drive(kModalResultCancel), kSuggestion})));
  EXPECT_FALSE(DrivesScanned());
  EXPECT_EQ(machine.Snapshot(), before);
}

TEST_F(CheckWorkflowTest, DriveCheckFindingNothingShowsTheSuggestion) {
  AddBaseSystem(machine);
  AddRemovableDrive(machine);
  const std::string before = machine.Snapshot();
  windows.driveAnswers = {kModalResultOk};

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Timed(kClean), Drive(kModalResultOk), kSuggestion})));
  EXPECT_TRUE(DrivesScanned());
  EXPECT_EQ(machine.Snapshot(), before);
}

TEST_F(CheckWorkflowTest, DriveFindingsAreRemovedAsCheckedWithoutARestartQuestion) {
  AddBaseSystem(machine);
  AddRemovableDrive(machine);
  AddAutorun(machine);
  AddDisguisedExecutable(machine);
  windows.driveAnswers = {kModalResultOk};
  windows.resultsAnswers = {{kModalResultOk, {kDisguisedExecutable}}};

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Timed(kClean), Drive(kModalResultOk),
                                    Results({}, {kAutorun, kDisguisedExecutable}, kModalResultOk),
                                    Timed(kMediaCleaned)})));
  MemoryMachine expected;
  AddBaseSystem(expected);
  AddRemovableDrive(expected);
  AddDisguisedExecutable(expected);
  EXPECT_EQ(Outside(), expected.Snapshot());
  EXPECT_TRUE(machine.token.ExitRequests().empty());
}

TEST_F(CheckWorkflowTest, LoaderFilesAloneCountAsCleanAndAreNeverListedOrRemoved) {
  AddBaseSystem(machine);
  AddLoaderFile(machine, "mdmcpq3.PNF");
  AddLoaderFile(machine, "oem6C.PNF");
  AddRemovableDrive(machine);
  AddAutorun(machine);
  windows.driveAnswers = {kModalResultOk};
  windows.resultsAnswers = {{kModalResultOk, {}}};

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Timed(kClean), Drive(kModalResultOk),
                                    Results({}, {kAutorun}, kModalResultOk),
                                    Timed(kMediaCleaned)})));
  MemoryMachine expected;
  AddBaseSystem(expected);
  AddLoaderFile(expected, "mdmcpq3.PNF");
  AddLoaderFile(expected, "oem6C.PNF");
  AddRemovableDrive(expected);
  EXPECT_EQ(Outside(), expected.Snapshot());
}

TEST_F(CheckWorkflowTest, MessagesAreTheCurrentCaptionsOfTheMessageItems) {
  SeedInfectedMachine(machine);
  windows.captions["constQuorvexhasbeenremovedPleaserebootimmediately"] = "Quorvex entfernt.";
  windows.captions["constRestart"] = "Jetzt neu starten?";
  windows.resultsAnswers = {{kModalResultOk, {}}};
  windows.messageBoxAnswers = {kIdNo};

  Run();

  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Results(kInfectionKeys, kInfectionFiles, kModalResultOk),
                                    Timed("Quorvex entfernt."),
                                    Box("Jetzt neu starten?", kRestartFlags, kIdNo)})));
}

TEST_F(CheckWorkflowTest, CheckRemovableDrivesWithoutAListAnswersFalseAndShowsNothing) {
  AddBaseSystem(machine);
  AddRemovableDrive(machine);
  AddAutorun(machine);

  EXPECT_FALSE(CheckRemovableDrives(context, windows, nullptr));

  EXPECT_TRUE(windows.events.empty());
  EXPECT_FALSE(DrivesScanned());
}

// A window that cannot be created or shown: the check ends without a word,
// every window made so far is freed, and what was removed before stays
// removed. The drive dialog is the exception: its failure only means "no
// drive check", so the suggestion follows.
struct FailureCase {
  const char* name;
  bool infected;
  std::string failAt;
  std::deque<ResultsAnswer> resultsAnswers;
  std::deque<int> driveAnswers;
  Events expected;
  bool infectionRemoved;
};

TEST_F(CheckWorkflowTest, ALockedDriverGoesAtRestartAndWhatCannotBeKeptIsNamedBeforeTheQuestion) {
  SeedInfectedMachine(machine);
  machine.files.HoldOpenForWriting(kMrxNetDriver);  // loaded: it can be copied, not deleted
  machine.files.LockFile("C:\\WINDOWS\\inf\\oem7A.PNF");  // cannot even be read
  windows.resultsAnswers = {{kModalResultOk, {}}};
  windows.messageBoxAnswers = {kIdOk, kIdNo};

  Run();

  const std::string left =
      "These items could not be removed and are still in place:\n\n"
      "C:\\WINDOWS\\inf\\oem7A.PNF: no safe copy could be made (the file cannot be read)\n";
  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Results(kInfectionKeys, kInfectionFiles, kModalResultOk),
                                    Timed(kRemoved), Box(left, kLeftFlags, kIdOk),
                                    Box(kRestart, kRestartFlags, kIdNo)})));
  EXPECT_THAT(machine.files.PendingRemovals(), ElementsAre(kMrxNetDriver));
  EXPECT_TRUE(machine.files.Exists("C:\\WINDOWS\\inf\\oem7A.PNF"));
  machine.files.Restart();
  MemoryMachine expected;
  AddBaseSystem(expected);
  AddLoaderFile(expected, "oem7A.PNF");
  AddRemovableDrive(expected);
  EXPECT_EQ(Outside(), expected.Snapshot());
}

TEST_F(CheckWorkflowTest, AFullDiskRemovesNothingAndSaysSoForEveryFinding) {
  SeedInfectedMachine(machine);
  machine.files.SetFreeSpace("C:", 100);
  const std::string before = machine.Snapshot();
  windows.resultsAnswers = {{kModalResultOk, {}}};
  windows.messageBoxAnswers = {kIdOk, kIdNo};

  Run();

  std::string left = "These items could not be removed and are still in place:\n\n";
  for (const auto& finding : Seq({kInfectionFiles, kInfectionKeys})) {
    left += finding + ": no safe copy could be made (the quarantine copy could not be written)\n";
  }
  EXPECT_THAT(windows.events,
              ElementsAreArray(Seq({Results(kInfectionKeys, kInfectionFiles, kModalResultOk),
                                    Timed(kRemoved), Box(left, kLeftFlags, kIdOk),
                                    Box(kRestart, kRestartFlags, kIdNo)})));
  EXPECT_EQ(Outside(), before);
}

class CheckWorkflowFailureTest : public CheckWorkflowTest,
                                 public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CheckWorkflowFailureTest, EndsSilentlyWithEveryWindowFreed) {
  const FailureCase& c = GetParam();
  if (c.infected) {
    SeedInfectedMachine(machine);
  } else {
    AddBaseSystem(machine);
    AddRemovableDrive(machine);
  }
  const std::string before = machine.Snapshot();
  windows.failAt = c.failAt;
  windows.resultsAnswers = c.resultsAnswers;
  windows.driveAnswers = c.driveAnswers;

  Run();

  EXPECT_THAT(windows.events, ElementsAreArray(c.expected));
  if (c.infectionRemoved) {
    MemoryMachine expected;
    AddBaseSystem(expected);
    AddRemovableDrive(expected);
    EXPECT_EQ(Outside(), expected.Snapshot());
  } else {
    EXPECT_EQ(machine.Snapshot(), before);
  }
  EXPECT_TRUE(machine.token.ExitRequests().empty());
}

const Events kResultsShowThrows = {
    "create ResultsDialog",
    "ResultsDialog.FillList registry=" + List(kInfectionKeys) + " files=" + List(kInfectionFiles),
    "ResultsDialog.ShowModal throws", "free ResultsDialog"};
const Events kConfirmed = Results(kInfectionKeys, kInfectionFiles, kModalResultOk);
const Events kTimedShowThrows = {"create TimedMessage",
                                 "TimedMessage.SetText " + std::string(kRemoved),
                                 "TimedMessage.EnableTimer", "TimedMessage.ShowModal throws",
                                 "free TimedMessage"};

INSTANTIATE_TEST_SUITE_P(
    Windows, CheckWorkflowFailureTest,
    ::testing::Values(
        FailureCase{"ResultsDialogCreation", true, "create ResultsDialog", {}, {},
                    {"create ResultsDialog throws"}, false},
        FailureCase{"ResultsDialogShowing", true, "ResultsDialog.ShowModal", {}, {},
                    kResultsShowThrows, false},
        FailureCase{"RemovalMessage", true, "TimedMessage.ShowModal", {{kModalResultOk, {}}}, {},
                    Seq({kConfirmed, kTimedShowThrows}), true},
        FailureCase{"RestartQuestion", true, "MessageBox", {{kModalResultOk, {}}}, {},
                    Seq({kConfirmed, Timed(kRemoved), {"MessageBox throws"}}), true},
        FailureCase{"CleanMessageCreation", false, "create TimedMessage", {}, {},
                    {"create TimedMessage throws"}, false},
        FailureCase{"DriveDialogShowing", false, "DriveDialog.ShowModal", {}, {},
                    Seq({Timed(kClean),
                         {"create DriveDialog", "DriveDialog.ShowModal throws", "free DriveDialog"},
                         kSuggestion}),
                    false},
        FailureCase{"SuggestionShowing", false, "SuggestionDialog.ShowModal", {},
                    {kModalResultCancel},
                    Seq({Timed(kClean), Drive(kModalResultCancel),
                         {"create SuggestionDialog", "SuggestionDialog.ShowModal throws",
                          "free SuggestionDialog"}}),
                    false}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace app::testing
