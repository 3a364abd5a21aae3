// Unattended checks on the memory machine: what each machine state gives
// as exit code, report, event entry and removal.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/command_line/exit_codes.h"
#include "app/command_line/run_command.h"
#include "app/command_line/tests/recording_console.h"
#include "app/tests/machine_seeds.h"
#include "platform/memory/memory_event_log.h"

namespace app::testing {
namespace {

using platform::EventType;
using ::testing::HasSubstr;

class UnattendedCheckTest : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& arguments) { return Run(machine, arguments); }
  int Run(MemoryMachine& on, const std::vector<std::string>& arguments) {
    console = {};
    CommandLineHost host{console, events, "PC-17"};
    return RunCommandLine(arguments, on.machine(), host);
  }

  MemoryMachine machine;
  platform::memory::MemoryEventLog events;
  RecordingConsole console;
};

void SeedInfected(MemoryMachine& machine) {
  AddBaseSystem(machine);
  AddInfection(machine);
  AddRemovableDrive(machine);
}

TEST_F(UnattendedCheckTest, EveryExitCodeFromARealMachineState) {
  enum Seed { Clean, Infected, DriverInUse, DriverLocked, DriveThreats };
  const struct {
    const char* name;
    Seed seed;
    std::vector<std::string> arguments;
    int code;
    EventType event;
    const char* summary;
  } cases[] = {
      {"clean", Clean, {"/scan"}, kExitDone, EventType::Information,
       "Quorvex Remover found nothing."},
      {"infected, not removed", Infected, {"/scan"}, kExitFound, EventType::Warning,
       "Quorvex Remover found 4 items and removed nothing."},
      {"infected, removed", Infected, {"/scan", "/remove"}, kExitAllRemoved, EventType::Warning,
       "Quorvex Remover found 4 items: 4 removed, 0 removed at the next restart, 0 already "
       "gone, 0 left in place."},
      {"a driver in use goes at the restart", DriverInUse, {"/scan", "/remove"}, kExitAllRemoved,
       EventType::Warning, "3 removed, 1 removed at the next restart, 0 already gone"},
      {"a driver nobody may read stays", DriverLocked, {"/scan", "/remove"}, kExitSomeLeft,
       EventType::Error, "3 removed, 0 removed at the next restart, 0 already gone, 1 left"},
      {"drive threats unseen by the system scan", DriveThreats, {"/scan"}, kExitDone,
       EventType::Information, "found nothing"},
      {"drive threats found", DriveThreats, {"/drives"}, kExitFound, EventType::Warning,
       "found 2 items and removed nothing"},
      {"drive threats removed", DriveThreats, {"/drives", "/remove"}, kExitAllRemoved,
       EventType::Warning, "found 2 items: 2 removed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryMachine state;
    events.entries.clear();
    AddBaseSystem(state);
    AddRemovableDrive(state);
    if (c.seed != Clean && c.seed != DriveThreats) AddInfection(state);
    if (c.seed == DriverInUse) state.files.HoldOpenForWriting(kMrxNetDriver);
    if (c.seed == DriverLocked) state.files.LockFile(kMrxNetDriver);
    if (c.seed == DriveThreats) {
      AddAutorun(state);
      AddDisguisedExecutable(state);
    }
    const std::string before = state.Snapshot();

    EXPECT_EQ(Run(state, c.arguments), c.code);
    EXPECT_EQ(console.error, "");
    ASSERT_EQ(events.entries.size(), 1u);
    EXPECT_EQ(events.entries[0].source, "Quorvex Remover");
    EXPECT_EQ(events.entries[0].type, c.event);
    EXPECT_THAT(events.entries[0].text, HasSubstr(c.summary));
    EXPECT_EQ(console.out, events.entries[0].text + "\n");
    if (c.code == kExitDone || c.code == kExitFound) {
      EXPECT_EQ(state.Snapshot(), before) << "nothing removed";
    }
    EXPECT_TRUE(state.token.ExitRequests().empty()) << "no restart without /restart";
  }
}

TEST_F(UnattendedCheckTest, TheReportOfAnInfectedMachineWithAFileInUse) {
  SeedInfected(machine);
  AddAutorun(machine);
  machine.files.HoldOpenForWriting(kMrxNetDriver);
  machine.files.LockFile(kAutorun);
  machine.clock.Set(1796860800);

  EXPECT_EQ(Run({"/scan", "/drives", "/remove", "/restart", "/report", "-"}), kExitSomeLeft);
  EXPECT_EQ(console.out,
            "{\n"
            "  \"program\": \"Quorvex Remover\",\n"
            "  \"version\": \"1.0.1.3\",\n"
            "  \"machine\": \"PC-17\",\n"
            "  \"start\": \"2026-12-10T00:00:00Z\",\n"
            "  \"end\": \"2026-12-10T00:00:00Z\",\n"
            "  \"findings\": [\n"
            "    {\"kind\": \"registry key\", \"value\": "
            "\"HKLM\\\\System\\\\CurrentControlSet\\\\Services\\\\MrxNet\", \"outcome\": "
            "\"removed\"},\n"
            "    {\"kind\": \"registry key\", \"value\": "
            "\"HKLM\\\\System\\\\CurrentControlSet\\\\Services\\\\MrxCls\", \"outcome\": "
            "\"removed\"},\n"
            "    {\"kind\": \"file\", \"value\": \"C:\\\\WINDOWS\\\\SYSTEM32\\\\DRIVERS\\\\MRXNET.SYS\", "
            "\"outcome\": \"removed at restart\"},\n"
            "    {\"kind\": \"file\", \"value\": \"C:\\\\WINDOWS\\\\SYSTEM32\\\\DRIVERS\\\\MRXCLS.SYS\", "
            "\"outcome\": \"removed\"},\n"
            "    {\"kind\": \"removable drive file\", \"value\": \"E:\\\\autorun.inf\", \"outcome\": "
            "\"left in place\", \"reason\": \"no safe copy could be made: the file cannot be "
            "read\"}\n"
            "  ],\n"
            "  \"totals\": {\"found\": 5, \"removed\": 3, \"removedAtRestart\": 1, \"alreadyGone\": "
            "0, \"leftInPlace\": 1},\n"
            "  \"restartRequested\": true,\n"
            "  \"exitCode\": 3\n"
            "}\n");
  EXPECT_EQ(machine.token.ExitRequests().size(), 1u) << "the system was infected: restart";
  EXPECT_TRUE(machine.files.Exists(kAutorun));
}

TEST_F(UnattendedCheckTest, AReportFileAppearsWholeAndACleanOneSaysSo) {
  AddBaseSystem(machine);
  machine.files.AddDirectory("C:\\Reports");
  machine.files.AddFile("C:\\Reports\\pc17.json", {'o', 'l', 'd'});

  EXPECT_EQ(Run({"/scan", "/report", "C:\\Reports\\pc17.json"}), kExitDone);
  const auto report = machine.files.ReadHead("C:\\Reports\\pc17.json", 4096);
  ASSERT_TRUE(report.has_value());
  const std::string text(report->bytes.begin(), report->bytes.end());
  EXPECT_THAT(text, HasSubstr("\"findings\": [],\n"));
  EXPECT_THAT(text, HasSubstr("\"totals\": {\"found\": 0, \"removed\": 0"));
  EXPECT_THAT(text, HasSubstr("\"exitCode\": 0\n}\n"));
  EXPECT_FALSE(machine.files.Exists("C:\\Reports\\pc17.json.tmp"));
  EXPECT_EQ(console.out, "Quorvex Remover found nothing.\n");
}

// The report file could be made, but the disk filled up before the report
// was in it: an error, and no half report left behind.
TEST_F(UnattendedCheckTest, AReportThatCannotBeFinishedIsAnInternalError) {
  SeedInfected(machine);
  machine.files.AddDirectory("D:\\Reports");
  machine.files.SetFreeSpace("D:", 100);

  EXPECT_EQ(Run({"/scan", "/report", "D:\\Reports\\pc17.json"}), kExitInternal);
  EXPECT_EQ(console.error, "The report \"D:\\Reports\\pc17.json\" could not be written.\n");
  EXPECT_FALSE(machine.files.Exists("D:\\Reports\\pc17.json"));
  EXPECT_FALSE(machine.files.Exists("D:\\Reports\\pc17.json.tmp"));
  ASSERT_EQ(events.entries.size(), 1u) << "the check itself ran";
  EXPECT_EQ(events.entries[0].type, EventType::Warning);
}

TEST_F(UnattendedCheckTest, ABadCommandLineScansAndRemovesNothing) {
  SeedInfected(machine);
  const std::string before = machine.Snapshot();
  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } cases[] = {
      {{"/scan", "/remove", "/bogus"}, "Unknown switch \"/bogus\". Run QuorvexRemover /? for help.\n"},
      {{"/scan", "/remove", "/report"}, "/report needs the file"},
      {{"/scan", "/remove", "/report", "C:\\Missing\\r.json"},
       "The report \"C:\\Missing\\r.json\" cannot be written. Run QuorvexRemover /? for help.\n"},
      {{"/remove"}, "go only with /scan or /drives"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    EXPECT_EQ(Run(c.arguments), kExitUsage);
    EXPECT_THAT(console.error, HasSubstr(c.error));
    EXPECT_EQ(std::count(console.error.begin(), console.error.end(), '\n'), 1) << "one line";
    EXPECT_EQ(console.out, "");
    EXPECT_EQ(machine.Snapshot(), before);
    EXPECT_TRUE(events.entries.empty());
  }
}

}  // namespace
}  // namespace app::testing
