#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/command_line/command_line.h"
#include "app/command_line/exit_codes.h"
#include "app/command_line/run_command.h"
#include "app/command_line/tests/recording_console.h"
#include "app/command_line/utc_time.h"
#include "platform/memory/memory_event_log.h"
#include "platform/memory/memory_machine.h"
#include "quarantine/quarantine.h"

namespace app {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(ParseCommandLine, SwitchesAndTheirErrors) {
  const struct {
    std::vector<std::string> arguments;
    CommandKind kind;
    const char* id;
    bool force;
    const char* error;  // a part of the message
  } cases[] = {
      {{}, CommandKind::Window, "", false, ""},
      {{"/?"}, CommandKind::Usage, "", false, ""},
      {{"-QUARANTINE"}, CommandKind::ListQuarantine, "", false, ""},
      {{"/Restore", "12"}, CommandKind::Restore, "12", false, ""},
      {{"/force", "-restore", "3"}, CommandKind::Restore, "3", true, ""},
      {{"/purge", "ALL"}, CommandKind::Purge, "all", false, ""},
      {{"/purge", "7"}, CommandKind::Purge, "7", false, ""},
      {{"/scann"}, CommandKind::Invalid, "", false, "Unknown switch \"/scann\""},
      {{"quarantine"}, CommandKind::Invalid, "", false, "Unexpected argument"},
      {{"/restore"}, CommandKind::Invalid, "", false, "/restore needs the id"},
      {{"/restore", "/force"}, CommandKind::Invalid, "", false, "/restore needs the id"},
      {{"/purge", "1", "2"}, CommandKind::Invalid, "", false, "Unexpected argument \"2\""},
      {{"/quarantine", "/purge", "1"}, CommandKind::Invalid, "", false, "Only one of"},
      {{"/purge", "1", "/force"}, CommandKind::Invalid, "", false, "/force goes only with"},
      {{"/force"}, CommandKind::Invalid, "", false, "/force goes only with"},
      {{"/restore", "1", "/force", "/FORCE"}, CommandKind::Invalid, "", false, "twice"},
      {{"/"}, CommandKind::Invalid, "", false, "Unexpected argument \"/\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const Command command = ParseCommandLine(c.arguments);
    EXPECT_EQ(command.kind, c.kind);
    EXPECT_THAT(command.error, HasSubstr(c.error));
    if (c.kind == CommandKind::Invalid) continue;
    EXPECT_EQ(command.id, c.id);
    EXPECT_EQ(command.force, c.force);
  }
}

TEST(ParseCommandLine, TheSwitchesOfAnUnattendedCheck) {
  const struct {
    std::vector<std::string> arguments;
    bool drives, remove, restart;
    std::optional<std::string> report;
    const char* error;  // "" for a good line
  } cases[] = {
      {{"/scan"}, false, false, false, std::nullopt, ""},
      {{"/DRIVES"}, true, false, false, std::nullopt, ""},
      {{"-scan", "/drives", "/Remove", "/restart", "/report", "C:\\r.json"}, true, true, true,
       "C:\\r.json", ""},
      {{"/report", "-", "/scan"}, false, false, false, "-", ""},
      {{"/report", "x.json"}, false, false, false, std::nullopt, "go only with /scan or /drives"},
      {{"/remove"}, false, false, false, std::nullopt, "go only with /scan or /drives"},
      {{"/scan", "/restart"}, false, false, false, std::nullopt, "/restart goes only with /remove"},
      {{"/scan", "/report"}, false, false, false, std::nullopt, "/report needs the file"},
      {{"/scan", "/report", "/remove"}, false, false, false, std::nullopt, "/report needs the file"},
      {{"/scan", "/quarantine"}, false, false, false, std::nullopt, "Only one of"},
      {{"/scan", "/force"}, false, false, false, std::nullopt, "/force goes only with /restore"},
      {{"/scan", "/SCAN"}, false, false, false, std::nullopt, "/scan is given twice"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const Command command = ParseCommandLine(c.arguments);
    if (*c.error != '\0') {
      EXPECT_EQ(command.kind, CommandKind::Invalid);
      EXPECT_THAT(command.error, HasSubstr(c.error));
      continue;
    }
    EXPECT_EQ(command.kind, CommandKind::Check);
    EXPECT_EQ(command.drives, c.drives);
    EXPECT_EQ(command.remove, c.remove);
    EXPECT_EQ(command.restart, c.restart);
    EXPECT_EQ(command.report, c.report);
  }
}

TEST(FormatUtc, CivilDates) {
  EXPECT_EQ(FormatUtc(0), "1970-01-01 00:00:00");
  EXPECT_EQ(FormatUtc(951782400), "2000-02-29 00:00:00");
  EXPECT_EQ(FormatUtc(1796860800 + 3661), "2026-12-10 01:01:01");
  EXPECT_EQ(FormatUtc(-1), "1969-12-31 23:59:59");
  EXPECT_EQ(FormatIsoUtc(1796860800 + 3661), "2026-12-10T01:01:01Z");
}

using testing::RecordingConsole;

class CommandLineTest : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& arguments) {
    console = {};
    CommandLineHost host{console, events, "PC-17"};
    return RunCommandLine(arguments, memory.machine(), host);
  }
  // A file finding kept and removed, as a removal leaves it.
  std::string Quarantined(const std::string& path, const std::vector<std::uint8_t>& content,
                          std::uint32_t attributes = platform::kAttributeArchive) {
    memory.files.AddFile(path, content, attributes);
    const auto id = quarantine::Quarantine(memory.machine()).KeepFile(path).id;
    memory.files.SetAttributes(path, 0);
    memory.files.RemoveFile(path);
    return id.value_or("");
  }
  std::string ItemPath(const std::string& id) {
    return "C:\\ProgramData\\Quorvex Remover\\Quarantine\\" + id + ".qri";
  }

  platform::memory::MemoryMachine memory;
  platform::memory::MemoryEventLog events;
  RecordingConsole console;
};

TEST_F(CommandLineTest, ListsWhatIsKeptAndRestoresAnItem) {
  EXPECT_EQ(Run({"/quarantine"}), kExitDone);
  EXPECT_EQ(console.out, "The quarantine is empty.\n");

  memory.clock.Set(1796860800 + 3661);
  ASSERT_EQ(Quarantined("E:\\Setup Ξ.TMP", {'a', 'b', 'c'}), "1");
  memory.registry.SetString(platform::kLocalMachine, "System\\Services\\MrxCls", "x", "y");
  ASSERT_TRUE(quarantine::Quarantine(memory.machine())
                  .KeepKey("HKLM\\SYSTEM\\SERVICES\\MRXCLS", platform::kLocalMachine,
                           "\\SYSTEM\\SERVICES\\MRXCLS")
                  .id);

  EXPECT_EQ(Run({"/quarantine"}), kExitDone);
  EXPECT_EQ(console.error, "");
  const std::string sha = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  EXPECT_THAT(console.out, StartsWith("ID      KIND  TIME (UTC)           SIZE          SHA-256"));
  EXPECT_THAT(console.out, HasSubstr("\n1       file  2026-12-10 01:01:01  3             " + sha +
                                     "  E:\\Setup Ξ.TMP\n"));
  EXPECT_THAT(console.out, HasSubstr("\n2       key   2026-12-10 01:01:01  "));
  EXPECT_THAT(console.out, HasSubstr("  HKLM\\SYSTEM\\SERVICES\\MRXCLS\n"));

  EXPECT_EQ(Run({"/restore", "1"}), kExitDone);
  EXPECT_EQ(console.out, "Quarantine item 1 was restored.\n");
  EXPECT_TRUE(memory.files.Exists("E:\\Setup Ξ.TMP"));
}

TEST_F(CommandLineTest, RestoreRefusesToOverwriteWithoutForce) {
  ASSERT_EQ(Quarantined("E:\\x.tmp", {'o', 'l', 'd'}), "1");
  memory.files.AddFile("E:\\x.tmp", {'n', 'e', 'w'});
  const std::string before = memory.Snapshot();

  EXPECT_EQ(Run({"/restore", "1"}), kExitQuarantineItem);
  EXPECT_EQ(console.error,
            "Nothing was restored: E:\\x.tmp exists; restore it with /force to overwrite it.\n");
  EXPECT_EQ(memory.Snapshot(), before);

  EXPECT_EQ(Run({"/restore", "1", "/force"}), kExitDone);
  EXPECT_EQ(memory.files.ReadHead("E:\\x.tmp", 3)->bytes,
            (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

TEST_F(CommandLineTest, WrongCommandsAndDamagedItemsChangeNothing) {
  ASSERT_EQ(Quarantined("E:\\a.tmp", {1, 2, 3}), "1");
  ASSERT_EQ(Quarantined("E:\\b.tmp", {4, 5, 6}), "2");
  memory.files.AddFile(ItemPath("2"), {'j', 'u', 'n', 'k'});
  const std::string before = memory.Snapshot();
  const struct {
    std::vector<std::string> arguments;
    int code;
    const char* error;
  } cases[] = {
      {{"/scann"}, kExitUsage, "Unknown switch \"/scann\". Run QuorvexRemover /? for help.\n"},
      {{"/restore"}, kExitUsage, "/restore needs the id of a quarantine item."},
      {{"/restore", "9"}, kExitQuarantineItem, "Nothing was restored: there is no quarantine item 9.\n"},
      {{"/restore", "..\\1"}, kExitQuarantineItem, "there is no quarantine item ..\\1"},
      {{"/restore", "2", "/force"}, kExitQuarantineItem,
       "Nothing was restored: quarantine item 2 is damaged.\n"},
      {{"/purge", "9"}, kExitQuarantineItem, "Nothing was purged: there is no quarantine item 9.\n"},
      {{"/quarantine"}, kExitQuarantineItem, "Quarantine item 2 is damaged and cannot be restored.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    EXPECT_EQ(Run(c.arguments), c.code);
    EXPECT_THAT(console.error, HasSubstr(c.error));
    EXPECT_EQ(memory.Snapshot(), before);
  }
  EXPECT_THAT(console.out, HasSubstr("E:\\a.tmp\n")) << "the good item is still listed";
}

TEST_F(CommandLineTest, PurgeAllEmptiesTheQuarantineDamagedItemsIncluded) {
  ASSERT_EQ(Quarantined("E:\\a.tmp", {1}), "1");
  ASSERT_EQ(Quarantined("E:\\b.tmp", {2}), "2");
  ASSERT_EQ(Quarantined("E:\\c.tmp", {3}), "3");
  memory.files.AddFile(ItemPath("3"), {'j', 'u', 'n', 'k'});

  EXPECT_EQ(Run({"/purge", "2"}), kExitDone);
  EXPECT_EQ(console.out, "Quarantine item 2 was purged.\n");
  EXPECT_EQ(Run({"/purge", "All"}), kExitDone);
  EXPECT_EQ(console.out, "2 items were purged from the quarantine.\n");
  EXPECT_EQ(Run({"/quarantine"}), kExitDone);
  EXPECT_EQ(console.out, "The quarantine is empty.\n");
  EXPECT_FALSE(memory.files.Exists("E:\\a.tmp")) << "purged items are not put back";
}

TEST_F(CommandLineTest, UsageNamesEverySwitchAndExitCode) {
  EXPECT_EQ(Run({"-?"}), kExitDone);
  for (const char* part : {"/scan [/drives] [/remove [/restart]] [/report FILE]", "/quarantine",
                           "/restore ID [/force]", "/purge ID|all", "/?", "0 nothing found",
                           "1 found, not removed", "2 found and all", "3 some findings left",
                           "4 the command line", "5 an unexpected", "6 a quarantine"}) {
    EXPECT_THAT(console.out, HasSubstr(part));
  }
}

}  // namespace
}  // namespace app
