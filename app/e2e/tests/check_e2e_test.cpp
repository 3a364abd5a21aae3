// The check as a user runs it: the real program on a seeded prefix, every
// window reached by a click on its buttons, every outcome read from the
// registry, the files and the windows that appear.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/e2e/command_run.h"
#include "app/e2e/message_box.h"
#include "app/e2e/remote_list_view.h"
#include "app/e2e/tests/e2e_fixture.h"
#include "app/e2e/top_windows.h"
#include "app/e2e/user_input.h"

namespace e2e::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;

using Row = std::pair<std::wstring, std::wstring>;  // kind, value

// Long enough for a window the program was about to open to appear.
constexpr DWORD kQuietMilliseconds = 1500;

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

HWND ListIn(HWND results) { return FindWindowExW(results, nullptr, L"SysListView32", nullptr); }

std::vector<Row> Rows(const RemoteListView& list) {
  std::vector<Row> rows;
  for (int row = 0; row < list.Count(); ++row) rows.emplace_back(list.Text(row, 0), list.Text(row, 1));
  return rows;
}

std::vector<bool> Checks(const RemoteListView& list) {
  std::vector<bool> checks;
  for (int row = 0; row < list.Count(); ++row) checks.push_back(list.Checked(row));
  return checks;
}

// The rows of the seeded infection: its keys, then its files, the driver
// paths upper-cased as they come from "ImagePath".
std::vector<Row> InfectionRows() {
  std::vector<Row> rows;
  for (const std::wstring& key : InfectionKeys()) rows.emplace_back(L"Registry Key", L"HKLM\\" + key);
  const std::vector<std::wstring> files = InfectionFiles();
  for (std::size_t i = 0; i < files.size(); ++i) {
    rows.emplace_back(L"File", i < 2 ? Upper(files[i]) : files[i]);
  }
  return rows;
}

// The files the system deletes at its next start, from
// PendingFileRenameOperations, upper-cased.
std::vector<std::wstring> PendingRemovals() {
  std::vector<std::wstring> removals;
  HKEY session = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0,
                    KEY_QUERY_VALUE, &session) != ERROR_SUCCESS) {
    return removals;
  }
  std::vector<wchar_t> value(65536);
  DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  const LONG status = RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(value.data()), &size);
  RegCloseKey(session);
  if (status != ERROR_SUCCESS) return removals;
  // Pairs of strings, source then target; an empty target means deletion.
  std::vector<std::wstring> strings;
  for (const wchar_t* at = value.data(); at < value.data() + size / sizeof(wchar_t);
       at += wcslen(at) + 1) {
    strings.emplace_back(at);
  }
  for (std::size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2) {
    if (strings[i + 1].empty()) removals.push_back(Upper(strings[i]));
  }
  return removals;
}

// Another process holding a file as a loaded driver is held: readable,
// never deletable. Ended when the object goes.
class HeldFile {
 public:
  explicit HeldFile(const std::wstring& path) {
    const std::wstring holder = FromBuildMachine(QR_E2E_HOLDER);
    std::wstring commandLine = L"\"" + holder + L"\" \"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(holder.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
      process_ = info.hProcess;
    }
    // Held once a reader that denies writers is turned away.
    held_ = process_ != nullptr && WaitUntil([&] {
      const HANDLE probe = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
      if (probe == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
      CloseHandle(probe);
      return false;
    }, kWindowWait);
  }
  ~HeldFile() { Release(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  bool Held() const { return held_; }
  void Release() {
    if (process_ == nullptr) return;
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
    process_ = nullptr;
  }

 private:
  HANDLE process_ = nullptr;
  bool held_ = false;
};

// The prefix restarts: Wine carries out what was scheduled for the next start.
bool RestartPrefix() {
  wchar_t commandLine[] = L"wineboot.exe -r";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  const bool ended = WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0;
  CloseHandle(info.hProcess);
  return ended;
}

class CheckEndToEnd : public EndToEnd {
 protected:
  // True when no window but the main window shows up for a while.
  bool StaysQuiet() const {
    return !WaitUntil([this] { return !session->OtherWindows().empty(); }, kQuietMilliseconds);
  }

  // Waits for the timed message and for it to close by itself; the time it
  // was shown, in milliseconds, or 0 when it did not come or go.
  DWORD AwaitTimedMessage() const {
    const HWND message = session->WaitFor(kApplicationTitle);
    if (message == nullptr) return 0;
    const DWORD shown = GetTickCount();
    if (!WaitGone(message, kWindowWait)) return 0;
    return GetTickCount() - shown;
  }

  // From the main window's "Check Me Now!" on a clean machine to the drive
  // dialog, with the timed message between them.
  HWND CheckCleanMachine() const {
    session->Press(session->Main(), kMainCheck);
    EXPECT_NE(AwaitTimedMessage(), 0u) << "the timed message did not come and go";
    return session->WaitFor(kDriveCaption);
  }

  void ExpectOnlyTheMainWindow() const {
    EXPECT_TRUE(session->Process().Running());
    EXPECT_TRUE(IsWindowVisible(session->Main()));
    EXPECT_THAT(session->OtherWindows(), IsEmpty());
  }
};

TEST_F(CheckEndToEnd, ConfirmedRemovalTakesTheInfectionAloneAndADeclinedRestartKeepsTheWindow) {
  SeedInfection();
  SeedDriveBystanders(root);
  const Snapshot before = RemovalScope(root);
  QuorvexSession& program = Start();

  program.Press(program.Main(), kMainCheck);
  const HWND results = program.WaitFor(kResultsCaption);
  ASSERT_NE(results, nullptr);
  {
    RemoteListView list(ListIn(results));
    EXPECT_THAT(Rows(list), ElementsAreArray(InfectionRows()));
    EXPECT_THAT(Checks(list), ElementsAreArray(std::vector<bool>(InfectionRows().size(), true)));
  }
  program.Press(results, kResultsRemove);
  EXPECT_NE(AwaitTimedMessage(), 0u);
  const HWND restart = program.WaitForMessageBox();
  ASSERT_NE(restart, nullptr);
  const MessageBoxView question = ReadMessageBox(restart);
  EXPECT_EQ(question.text, L"Restart your computer now?");
  EXPECT_EQ(CaptionOf(restart), kApplicationTitle);
  EXPECT_TRUE(question.yes && question.no && !question.ok);
  ASSERT_TRUE(ClickMessageBoxButton(restart, IDNO));
  ASSERT_TRUE(WaitGone(restart, kWindowWait));

  Snapshot expected = before;
  for (const std::wstring& key : InfectionKeys()) Erase(expected, L"HKLM\\" + key);
  for (const std::wstring& file : InfectionFiles()) Erase(expected, file);
  EXPECT_THAT(Differences(expected, RemovalScope(root)), IsEmpty());
  EXPECT_TRUE(StaysQuiet());
  ExpectOnlyTheMainWindow();

  // A second check finds the machine clean.
  const HWND drives = CheckCleanMachine();
  ASSERT_NE(drives, nullptr);
  program.Press(drives, kDriveExit);
  const HWND suggestion = program.WaitFor(kSuggestionCaption);
  ASSERT_NE(suggestion, nullptr);
  program.Press(suggestion, kSuggestionClose);
  EXPECT_TRUE(WaitGone(suggestion, kWindowWait));
  EXPECT_TRUE(StaysQuiet());
  ExpectOnlyTheMainWindow();
}

// A loaded driver cannot be deleted while the system runs: it is kept in the
// quarantine and scheduled for the restart, the user is told nothing beyond
// the usual messages, and after the restart it is gone.
TEST_F(CheckEndToEnd, ALoadedDriverIsKeptAndGoesAtTheRestart) {
  SeedInfection();
  const std::wstring driver = InfectionFiles()[0];
  HeldFile held(driver);
  ASSERT_TRUE(held.Held());
  QuorvexSession& program = Start();

  program.Press(program.Main(), kMainCheck);
  const HWND results = program.WaitFor(kResultsCaption);
  ASSERT_NE(results, nullptr);
  program.Press(results, kResultsRemove);
  EXPECT_NE(AwaitTimedMessage(), 0u);
  const HWND restart = program.WaitForMessageBox();
  ASSERT_NE(restart, nullptr);
  EXPECT_EQ(ReadMessageBox(restart).text, L"Restart your computer now?")
      << "nothing was left in place, so nothing more is said";
  ASSERT_TRUE(ClickMessageBoxButton(restart, IDNO));
  ASSERT_TRUE(WaitGone(restart, kWindowWait));
  held.Release();

  EXPECT_THAT(PendingRemovals(), ElementsAreArray({L"\\??\\" + Upper(driver)}));
  EXPECT_NE(GetFileAttributesW(driver.c_str()), INVALID_FILE_ATTRIBUTES) << "until the restart";
  for (std::size_t i = 1; i < InfectionFiles().size(); ++i) {
    EXPECT_EQ(GetFileAttributesW(InfectionFiles()[i].c_str()), INVALID_FILE_ATTRIBUTES);
  }
  const CommandRun listing = RunWithSwitches(ProgramPath(), L"/quarantine");
  EXPECT_EQ(listing.exitCode, 0u);
  EXPECT_NE(listing.out.find(platform::win32::ToUtf8(Upper(driver))), std::string::npos)
      << listing.out;

  ASSERT_TRUE(RestartPrefix());
  EXPECT_EQ(GetFileAttributesW(driver.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_THAT(PendingRemovals(), IsEmpty());
}

TEST_F(CheckEndToEnd, ExitInTheResultsDialogTouchesNothing) {
  SeedInfection();
  const Snapshot before = RemovalScope(root);
  QuorvexSession& program = Start();

  program.Press(program.Main(), kMainCheck);
  const HWND results = program.WaitFor(kResultsCaption);
  ASSERT_NE(results, nullptr);
  program.Press(results, kResultsExit);
  EXPECT_TRUE(WaitGone(results, kWindowWait));
  EXPECT_TRUE(StaysQuiet());
  EXPECT_THAT(Differences(before, RemovalScope(root)), IsEmpty());
  ExpectOnlyTheMainWindow();
}

TEST_F(CheckEndToEnd, EveryRowUncheckedIsAskedToTryAgainAndTouchesNothing) {
  SeedInfection();
  const Snapshot before = RemovalScope(root);
  QuorvexSession& program = Start();

  program.Press(program.Main(), kMainCheck);
  const HWND results = program.WaitFor(kResultsCaption);
  ASSERT_NE(results, nullptr);
  {
    RemoteListView list(ListIn(results));
    ASSERT_EQ(list.Count(), static_cast<int>(InfectionRows().size()));
    for (int row = 0; row < list.Count(); ++row) {
      Click(list.CheckBox(row));
      EXPECT_TRUE(WaitUntil([&] { return !list.Checked(row); }, kWindowWait)) << "row " << row;
    }
    EXPECT_THAT(Checks(list), ElementsAreArray(std::vector<bool>(list.Count(), false)));
  }
  program.Press(results, kResultsRemove);
  const HWND box = program.WaitForMessageBox();
  ASSERT_NE(box, nullptr);
  const MessageBoxView message = ReadMessageBox(box);
  EXPECT_EQ(message.text, L"You have selected no items for removal. Try again!");
  EXPECT_EQ(CaptionOf(box), kApplicationTitle);
  EXPECT_TRUE(message.ok && !message.yes && !message.no);
  ASSERT_TRUE(ClickMessageBoxButton(box, IDOK));
  EXPECT_TRUE(WaitGone(box, kWindowWait));
  EXPECT_TRUE(StaysQuiet());
  EXPECT_THAT(Differences(before, RemovalScope(root)), IsEmpty());
  ExpectOnlyTheMainWindow();
}

TEST_F(CheckEndToEnd, DriveThreatsOfACleanMachineGoWithoutARestartQuestion) {
  SeedDriveThreats(root);
  SeedDriveBystanders(root);
  const Snapshot before = RemovalScope(root);
  QuorvexSession& program = Start();

  const HWND drives = CheckCleanMachine();
  ASSERT_NE(drives, nullptr);
  program.Press(drives, kDriveCheck);
  const HWND results = program.WaitFor(kResultsCaption);
  ASSERT_NE(results, nullptr);
  {
    RemoteListView list(ListIn(results));
    std::vector<Row> threats;
    for (const std::wstring& file : DriveThreatFiles(root)) threats.emplace_back(L"File", file);
    EXPECT_THAT(Rows(list), UnorderedElementsAreArray(threats));
    EXPECT_THAT(Checks(list), ElementsAreArray(std::vector<bool>(threats.size(), true)));
  }
  program.Press(results, kResultsRemove);
  EXPECT_NE(AwaitTimedMessage(), 0u);
  EXPECT_TRUE(StaysQuiet()) << "no restart question, no other window";
  EXPECT_EQ(program.FindMessageBox(), nullptr);

  Snapshot expected = before;
  for (const std::wstring& file : DriveThreatFiles(root)) Erase(expected, file);
  EXPECT_THAT(Differences(expected, RemovalScope(root)), IsEmpty());
  ExpectOnlyTheMainWindow();
}

TEST_F(CheckEndToEnd, TheTimedMessageClosesByItselfAndLeavingTheDriveDialogSuggests) {
  SeedDriveThreats(root);
  const Snapshot before = RemovalScope(root);
  QuorvexSession& program = Start();

  program.Press(program.Main(), kMainCheck);
  const DWORD shown = AwaitTimedMessage();
  EXPECT_GE(shown, 2000u);
  EXPECT_LE(shown, 4000u);
  const HWND drives = program.WaitFor(kDriveCaption);
  ASSERT_NE(drives, nullptr);
  program.Press(drives, kDriveExit);
  const HWND suggestion = program.WaitFor(kSuggestionCaption);
  ASSERT_NE(suggestion, nullptr);
  EXPECT_EQ(program.FindMessageBox(), nullptr);
  program.Press(suggestion, kSuggestionClose);
  EXPECT_TRUE(WaitGone(suggestion, kWindowWait));
  // The drive was never scanned, so its threats are still there.
  EXPECT_THAT(Differences(before, RemovalScope(root)), IsEmpty());
  ExpectOnlyTheMainWindow();
}

}  // namespace
}  // namespace e2e::testing
