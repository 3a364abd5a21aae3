// The program's switches as a script uses them: the real QuorvexRemover.exe
// started with pipes for its output, its exit code read, no window allowed.
// The quarantine is filled the way a removal fills it.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/e2e/command_run.h"
#include "app/e2e/tests/e2e_fixture.h"
#include "app/e2e/tests/json_syntax.h"
#include "platform/win32/win32_machine.h"
#include "quarantine/quarantine.h"

namespace e2e::testing {
namespace {

using platform::win32::ToUtf8;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr wchar_t kVictimKey[] = L"Software\\QrCommandLineTest";

class CommandLineEndToEnd : public EndToEnd {
 protected:
  void SetUp() override {
    EndToEnd::SetUp();
    RemoveMade();
  }
  void TearDown() override {
    RemoveMade();
    EndToEnd::TearDown();
  }
  // What the tests make on the drive and in the registry.
  void RemoveMade() {
    for (const wchar_t* name : {L"Setup Ξ.TMP", L"x.tmp"}) {
      const std::wstring path = root + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kVictimKey);
  }

  CommandRun Run(const std::wstring& switches) {
    CommandRun run = RunWithSwitches(ProgramPath(), switches);
    EXPECT_EQ(run.windows, 0) << "no window for " << ToUtf8(switches);
    return run;
  }
  // The quarantine as the command line lists it.
  std::string Listing() { return Run(L"/quarantine").out; }

  platform::win32::Win32Machine machine;
  quarantine::Quarantine keeper{machine.machine()};
};

TEST_F(CommandLineEndToEnd, ListsRestoresAndPurgesWithoutAWindow) {
  // A false positive on the stick, read-only, hidden and system, and a key.
  const std::wstring file = root + L"Setup Ξ.TMP";
  const std::string content = "MZ an installer's own temporary file";
  {
    const HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(out, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(out);
  }
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                   FILE_ATTRIBUTE_SYSTEM));
  const DWORD attributes = GetFileAttributesW(file.c_str());
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kVictimKey) + L"\\Sub").c_str(), 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const BYTE blob[] = {0, 1, 0xFF};
  RegSetValueExW(key, L"Blob", 0, REG_BINARY, blob, sizeof blob);
  RegCloseKey(key);

  EXPECT_EQ(Run(L"/quarantine").out, "The quarantine is empty.\r\n");
  const auto fileId = keeper.KeepFile(ToUtf8(file)).id;
  const auto keyId =
      keeper.KeepKey("HKLM\\SOFTWARE\\QRCOMMANDLINETEST", platform::kLocalMachine,
                     "\\SOFTWARE\\QRCOMMANDLINETEST").id;
  ASSERT_TRUE(fileId && keyId);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(DeleteFileW(file.c_str()));

  const std::string listed = Listing();
  EXPECT_THAT(listed, StartsWith("ID      KIND  TIME (UTC)"));
  EXPECT_THAT(listed, HasSubstr("  " + ToUtf8(file) + "\r\n"));
  EXPECT_THAT(listed, HasSubstr("  HKLM\\SOFTWARE\\QRCOMMANDLINETEST\r\n"));

  // The file comes back as it was; a second restore finds nothing.
  CommandRun run = Run(L"/restore " + platform::win32::ToWide(*fileId));
  EXPECT_EQ(run.exitCode, 0u) << run.error;
  EXPECT_EQ(GetFileAttributesW(file.c_str()), attributes);
  {
    const HANDLE in = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(in, INVALID_HANDLE_VALUE);
    std::string read(100, '\0');
    DWORD got = 0;
    ReadFile(in, read.data(), 100, &got, nullptr);
    CloseHandle(in);
    EXPECT_EQ(read.substr(0, got), content);
  }
  run = Run(L"/RESTORE " + platform::win32::ToWide(*fileId));
  EXPECT_EQ(run.exitCode, 6u);
  EXPECT_THAT(run.error, HasSubstr("there is no quarantine item " + *fileId));

  // The key is still there: only /force overwrites it.
  run = Run(L"-restore " + platform::win32::ToWide(*keyId));
  EXPECT_EQ(run.exitCode, 6u);
  EXPECT_THAT(run.error, HasSubstr("/force"));
  ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, kVictimKey), ERROR_SUCCESS);
  run = Run(L"/restore " + platform::win32::ToWide(*keyId) + L" /force");
  EXPECT_EQ(run.exitCode, 0u) << run.error;
  BYTE read[8] = {};
  DWORD size = sizeof read;
  EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, (std::wstring(kVictimKey) + L"\\Sub").c_str(), L"Blob",
                         RRF_RT_REG_BINARY, nullptr, read, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, sizeof blob);

  EXPECT_EQ(Listing(), "The quarantine is empty.\r\n");
}

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// A JSON string as the report writes it.
std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (const char c : ToUtf8(text)) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string ReadWhole(const std::wstring& path) {
  const HANDLE in = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return {};
  std::string text(1 << 20, '\0');
  DWORD got = 0;
  ReadFile(in, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
  CloseHandle(in);
  text.resize(got);
  return text;
}

// What a deployment runs: scan, drives, remove, report; the machine after it
// is what the report says.
TEST_F(CommandLineEndToEnd, AnUnattendedRemovalReportsExactlyWhatItDid) {
  SeedInfection();
  SeedDriveThreats(root);
  SeedDriveBystanders(root);
  const Snapshot before = RemovalScope(root);
  const std::wstring report = QuarantineFolder() + L" report.json";

  CommandRun run = Run(L"/scan /drives /remove /report \"" + report + L"\"");
  EXPECT_EQ(run.exitCode, 2u) << run.error;
  EXPECT_EQ(run.error, "");
  const std::string json = ReadWhole(report);
  DeleteFileW(report.c_str());
  EXPECT_EQ(GetFileAttributesW((report + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(JsonSyntax::Valid(json)) << json;
  EXPECT_FALSE(JsonSyntax::Valid(json.substr(0, json.size() - 3))) << "the check can fail";
  std::vector<std::string> expected;
  for (const std::wstring& key : InfectionKeys()) expected.push_back(Json(L"HKLM\\" + key));
  const auto files = InfectionFiles();
  for (std::size_t i = 0; i < files.size(); ++i) {
    expected.push_back(Json(i < 2 ? Upper(files[i]) : files[i]));
  }
  for (const std::wstring& file : DriveThreatFiles(root)) expected.push_back(Json(file));
  for (const std::string& value : expected) {
    EXPECT_NE(json.find("\"value\": " + value + ", \"outcome\": \"removed\"}"), std::string::npos)
        << value << "\n" << json;
  }
  EXPECT_EQ(static_cast<std::size_t>(std::count(json.begin(), json.end(), '{')),
            expected.size() + 2) << "the report, each finding, the totals";
  EXPECT_NE(json.find("\"totals\": {\"found\": " + std::to_string(expected.size()) +
                      ", \"removed\": " + std::to_string(expected.size()) +
                      ", \"removedAtRestart\": 0, \"alreadyGone\": 0, \"leftInPlace\": 0}"),
            std::string::npos)
      << json;
  EXPECT_EQ(run.out, "Quorvex Remover found " + std::to_string(expected.size()) + " items: " +
                         std::to_string(expected.size()) +
                         " removed, 0 removed at the next restart, 0 already gone, 0 left in "
                         "place.\r\n");

  Snapshot after = before;
  for (const std::wstring& key : InfectionKeys()) Erase(after, L"HKLM\\" + key);
  for (const std::wstring& file : InfectionFiles()) Erase(after, file);
  for (const std::wstring& file : DriveThreatFiles(root)) Erase(after, file);
  EXPECT_THAT(Differences(after, RemovalScope(root)), ::testing::IsEmpty());

  // A second run finds the machine clean.
  run = Run(L"-SCAN -drives -report -");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_NE(run.out.find("\"findings\": [],"), std::string::npos) << run.out;
  EXPECT_TRUE(JsonSyntax::Valid(run.out)) << run.out;
}

TEST_F(CommandLineEndToEnd, BadCommandsAndDamagedItemsChangeNothing) {
  const std::wstring file = root + L"x.tmp";
  const HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  CloseHandle(out);
  const auto good = keeper.KeepFile(ToUtf8(file)).id;
  const auto damaged = keeper.KeepFile(ToUtf8(file)).id;
  ASSERT_TRUE(good && damaged);
  ASSERT_TRUE(DeleteFileW(file.c_str()));
  const std::wstring damagedItem =
      QuarantineFolder() + L"\\" + platform::win32::ToWide(*damaged) + L".qri";
  const HANDLE junk = CreateFileW(damagedItem.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(junk, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(junk, "junk", 4, &written, nullptr);
  CloseHandle(junk);

  const struct {
    const wchar_t* switches;
    DWORD code;
    const char* error;
  } cases[] = {
      {L"/bogus", 4, "Unknown switch \"/bogus\". Run QuorvexRemover /? for help.\r\n"},
      {L"/restore", 4, "/restore needs the id of a quarantine item."},
      {L"/purge 1 2", 4, "Unexpected argument \"2\"."},
      {L"/scan /remove /report", 4, "/report needs the file"},
      {L"/scan /remove /report Q:\\nowhere\\r.json", 4, "cannot be written"},
      {L"/restore 999", 6, "there is no quarantine item 999"},
      {L"/restore ..\\1", 6, "there is no quarantine item"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.switches));
    const CommandRun run = Run(c.switches);
    EXPECT_EQ(run.exitCode, c.code);
    EXPECT_THAT(run.error, HasSubstr(c.error));
    EXPECT_EQ(run.out, "");
  }
  CommandRun run = Run(L"/restore " + platform::win32::ToWide(*damaged));
  EXPECT_EQ(run.exitCode, 6u);
  EXPECT_THAT(run.error, HasSubstr("is damaged"));
  EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing written";
  run = Run(L"/quarantine");
  EXPECT_EQ(run.exitCode, 6u);
  EXPECT_THAT(run.out, HasSubstr(ToUtf8(file)));
  EXPECT_THAT(run.error, HasSubstr("Quarantine item " + *damaged + " is damaged"));

  run = Run(L"/?");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_THAT(run.out, HasSubstr("/restore ID [/force]"));
  run = Run(L"/purge all");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.out, "2 items were purged from the quarantine.\r\n");
}

}  // namespace
}  // namespace e2e::testing
