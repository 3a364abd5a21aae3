#include "scanner/removal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include "scanner/tests/memory_scan.h"
#include "scanner/tests/recording_keeper.h"

namespace scanner {
namespace {

using platform::kAttributeHidden;
using platform::kAttributeReadOnly;
using platform::kAttributeSystem;
using platform::kCurrentUser;
using platform::kLocalMachine;
using platform::memory::KeyAccess;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The outcome of each finding as "finding: state[/reason]".
std::vector<std::string> Describe(const RemovalReport& report) {
  static const char* const kStates[] = {"removed", "at restart", "gone", "left"};
  static const char* const kReasons[] = {"", "/not kept", "/delete failed", "/not removable",
                                         "/unreachable",
                                         "/interrupted"};
  std::vector<std::string> lines;
  for (const RemovalOutcome& outcome : report) {
    lines.push_back(outcome.finding + ": " + kStates[static_cast<int>(outcome.state)] +
                    kReasons[static_cast<int>(outcome.reason)]);
  }
  return lines;
}

// Removes with a keeper that keeps everything, for the tests that are about
// the deletion itself.
bool DeleteFoundFiles(ScanContext& context, const Findings& findings) {
  testing::RecordingKeeper keeper;
  RemovalReport report;
  return scanner::DeleteFoundFiles(context, findings, keeper, report);
}
bool DeleteFoundKeys(ScanContext& context, const Findings& findings) {
  testing::RecordingKeeper keeper;
  RemovalReport report;
  return scanner::DeleteFoundKeys(context, findings, keeper, report);
}

constexpr const char* kServices = "System\\CurrentControlSet\\Services\\";

TEST(DeleteFoundFiles, KeepsACopyFirstAndReportsEveryFinding) {
  testing::MemoryScan scan;
  auto& files = scan.memory.files;
  files.AddFile("C:\\WINDOWS\\inf\\oem7A.PNF", {1},
                kAttributeReadOnly | kAttributeHidden | kAttributeSystem);
  files.AddFile("C:\\WINDOWS\\system32\\drivers\\mrxnet.sys", {1});
  files.HoldOpenForWriting("C:\\WINDOWS\\system32\\drivers\\mrxnet.sys");
  files.AddFile("E:\\refused.tmp", {1});
  files.AddFile("E:\\Ξ.tmp", {1}, kAttributeReadOnly);
  files.AddFile("E:\\untouched.tmp", {1});
  testing::RecordingKeeper keeper;
  keeper.refuse = {"E:\\refused.tmp"};
  RemovalReport report;

  EXPECT_TRUE(scanner::DeleteFoundFiles(
      scan.context,
      {"C:\\WINDOWS\\inf\\oem7A.PNF", "E:\\gone.lnk", "",
       "C:\\WINDOWS\\system32\\drivers\\mrxnet.sys", "E:\\refused.tmp", "E:\\Ξ.tmp"},
      keeper, report));
  EXPECT_THAT(Describe(report),
              ElementsAre("C:\\WINDOWS\\inf\\oem7A.PNF: removed", "E:\\gone.lnk: gone",
                          "C:\\WINDOWS\\system32\\drivers\\mrxnet.sys: at restart",
                          "E:\\refused.tmp: left/not kept", "E:\\Ξ.tmp: removed"));
  EXPECT_EQ(report[3].detail, "refused");
  EXPECT_THAT(keeper.kept, ElementsAre("C:\\WINDOWS\\inf\\oem7A.PNF",
                                       "C:\\WINDOWS\\system32\\drivers\\mrxnet.sys",
                                       "E:\\Ξ.tmp"));
  EXPECT_FALSE(files.Exists("C:\\WINDOWS\\inf\\oem7A.PNF"));
  EXPECT_FALSE(files.Exists("E:\\Ξ.tmp"));
  EXPECT_TRUE(files.Exists("E:\\refused.tmp")) << "nothing is deleted without its copy";
  EXPECT_TRUE(files.Exists("E:\\untouched.tmp"));
  EXPECT_THAT(files.PendingRemovals(),
              ElementsAre("C:\\WINDOWS\\system32\\drivers\\mrxnet.sys"));
  files.Restart();
  EXPECT_FALSE(files.Exists("C:\\WINDOWS\\system32\\drivers\\mrxnet.sys"));
}

TEST(DeleteFoundFiles, NothingDeletedIsFalseAndAFolderInAFindingsPlaceStays) {
  testing::MemoryScan scan;
  scan.memory.files.AddDirectory("E:\\folder.tmp");
  testing::RecordingKeeper keeper;
  RemovalReport report;
  EXPECT_FALSE(scanner::DeleteFoundFiles(scan.context, {"E:\\gone.lnk", "E:\\folder.tmp", ""},
                                         keeper, report));
  EXPECT_THAT(Describe(report),
              ElementsAre("E:\\gone.lnk: gone", "E:\\folder.tmp: left/not removable"));
  EXPECT_THAT(keeper.kept, IsEmpty());
  EXPECT_FALSE(DeleteFoundFiles(scan.context, {}));
  EXPECT_TRUE(scan.memory.files.Exists("E:\\folder.tmp"));
}

TEST(DeleteFoundFiles, ANameOnlyTheLiteralPathReachesIsLeftUntouched) {
  // A drive listing can name "evil." (made through "\\?\"); the plain path
  // "E:\evil." names "E:\evil" instead. No copy of what the plain path names
  // can be made, so nothing at all is changed, attributes included, and the
  // outcome says it was left.
  testing::MemoryScan scan;
  auto& files = scan.memory.files;
  constexpr auto kSticky = kAttributeReadOnly | kAttributeHidden | kAttributeSystem;
  files.AddFile("\\\\?\\E:\\evil.", {1}, kSticky);
  const std::string before = scan.memory.Snapshot();
  testing::RecordingKeeper keeper;
  const RemovalOutcome outcome = DeleteFoundFile(scan.context, "E:\\evil.", keeper);
  EXPECT_EQ(outcome.state, RemovalState::LeftInPlace) << "it is still there, and the user is told";
  EXPECT_EQ(outcome.reason, LeftReason::Unreachable);
  EXPECT_EQ(scan.memory.Snapshot(), before);
  EXPECT_THAT(keeper.kept, IsEmpty());
}

class DeleteFoundKeysTest : public ::testing::Test {
 protected:
  // Seeds the same keys into the machine under test and into the expected
  // machine, so "nothing else was touched" is a comparison of the two.
  void Keep(platform::RegKey root, const std::string& path) {
    scan.memory.registry.AddKey(root, path);
    expected.registry.AddKey(root, path);
  }
  void Doomed(platform::RegKey root, const std::string& path) {
    scan.memory.registry.AddKey(root, path);
  }
  void ExpectOnlyDoomedKeysGone() {
    EXPECT_EQ(scan.memory.registry.Dump(), expected.registry.Dump());
    EXPECT_EQ(scan.memory.registry.OpenHandleCount(), 0u);
  }

  testing::MemoryScan scan;
  platform::memory::MemoryMachine expected;
};

TEST_F(DeleteFoundKeysTest, DeletesWholeTreesDeepestFirst) {
  Keep(kLocalMachine, std::string(kServices) + "Tcpip\\Parameters");
  Doomed(kLocalMachine, std::string(kServices) + "MrxCls\\Enum\\Root\\Instance0000");
  Doomed(kLocalMachine, std::string(kServices) + "MrxCls\\Enum\\AVeryLongSubkeyNameIndeed");
  Doomed(kLocalMachine, std::string(kServices) + "MrxCls\\Security");
  scan.memory.registry.SetString(kLocalMachine, std::string(kServices) + "MrxCls", "ImagePath",
                                 "x");
  Doomed(kLocalMachine, std::string(kServices) + "MrxNet");

  EXPECT_TRUE(DeleteFoundKeys(scan.context,
                              {"HKLM\\System\\CurrentControlSet\\Services\\MrxNet",
                               "hklm\\system\\currentcontrolset\\services\\mrxcls"}));
  ExpectOnlyDoomedKeysGone();
}

TEST_F(DeleteFoundKeysTest, SkipsEntriesThatNameNoKey) {
  Keep(kLocalMachine, std::string(kServices) + "MrxNet");
  Keep(kCurrentUser, "Software\\Stays");
  const std::string before = scan.memory.Snapshot();

  EXPECT_FALSE(DeleteFoundKeys(scan.context,
                               {"", "HKLM", "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\"
                                            "Services\\MrxNet",
                                "HKU\\Software\\Stays", "HKLM\\System\\Missing"}));
  ExpectOnlyDoomedKeysGone();
  EXPECT_EQ(scan.memory.Snapshot(), before);
}

TEST_F(DeleteFoundKeysTest, OtherRootsAreAccepted) {
  Doomed(kCurrentUser, "Software\\Evil\\Sub");
  Doomed(platform::kClassesRoot, "evilfile");
  Keep(kCurrentUser, "Software\\Good");
  EXPECT_TRUE(DeleteFoundKeys(scan.context, {"HKCU\\Software\\Evil", "HKCR\\evilfile"}));
  ExpectOnlyDoomedKeysGone();
}

TEST_F(DeleteFoundKeysTest, ReadOnlyKeyStaysAndSubkeysDeletedBeforeStayDeleted) {
  const std::string net = std::string(kServices) + "MrxNet";
  Doomed(kLocalMachine, net + "\\Zeta");
  Keep(kLocalMachine, net + "\\Alpha");
  scan.memory.registry.SetKeyAccess(kLocalMachine, net + "\\Alpha", KeyAccess::ReadOnly);
  expected.registry.SetKeyAccess(kLocalMachine, net + "\\Alpha", KeyAccess::ReadOnly);
  EXPECT_FALSE(DeleteFoundKeys(scan.context, {"HKLM\\" + net}));
  ExpectOnlyDoomedKeysGone();

  const std::string cls = std::string(kServices) + "MrxCls";
  scan.memory.registry.AddKey(kLocalMachine, cls);
  scan.memory.registry.SetKeyAccess(kLocalMachine, cls, KeyAccess::ReadOnly);
  EXPECT_FALSE(DeleteFoundKeys(scan.context, {"HKLM\\" + cls}));
  EXPECT_TRUE(scan.memory.registry.HasKey(kLocalMachine, cls));
}

TEST_F(DeleteFoundKeysTest, LinksAreDeletedAsLinksAndNeverEntered) {
  // Each layout is planted on a machine of its own; the victims beside it
  // must come through unchanged.
  const std::string net = std::string(kServices) + "MrxNet";
  const struct {
    const char* name;
    void (*plant)(platform::memory::MemoryRegistry& registry, const std::string& net);
  } kLayouts[] = {
      {"a subkey links to another tree",
       [](platform::memory::MemoryRegistry& registry, const std::string& net) {
         registry.SetString(kLocalMachine, net, "ImagePath", "\\??\\C:\\x.sys");
         registry.AddLink(kLocalMachine, net + "\\Enum",
                          "\\Registry\\Machine\\Software\\QrVictim2");
       }},
      {"the service key itself is a link",
       [](platform::memory::MemoryRegistry& registry, const std::string& net) {
         registry.AddLink(kLocalMachine, net, "\\Registry\\Machine\\Software\\QrVictim");
       }},
      {"a subkey links back to the service key",
       [](platform::memory::MemoryRegistry& registry, const std::string& net) {
         registry.AddKey(kLocalMachine, net + "\\Security");
         registry.AddLink(kLocalMachine, net + "\\Loop", "\\REGISTRY\\MACHINE\\" + net);
       }},
  };
  for (const auto& layout : kLayouts) {
    SCOPED_TRACE(layout.name);
    testing::MemoryScan scan;
    platform::memory::MemoryMachine expected;
    for (auto* registry : {&scan.memory.registry, &expected.registry}) {
      registry->SetString(kLocalMachine, "Software\\QrVictim", "Owner", "someone else");
      registry->AddKey(kLocalMachine, "Software\\QrVictim\\Sub");
      registry->SetString(kLocalMachine, "Software\\QrVictim2\\Config\\Deep", "Boot", "1");
      registry->AddKey(kLocalMachine, kServices);
    }
    layout.plant(scan.memory.registry, net);

    EXPECT_TRUE(DeleteFoundKeys(scan.context, {"HKLM\\" + net}));
    EXPECT_EQ(scan.memory.registry.Dump(), expected.registry.Dump());
    EXPECT_EQ(scan.memory.registry.OpenHandleCount(), 0u);
  }
}

TEST_F(DeleteFoundKeysTest, ReportsEveryEntryAndDeletesNothingItCouldNotKeep) {
  const std::string net = std::string(kServices) + "MrxNet";
  const std::string cls = std::string(kServices) + "MrxCls";
  Doomed(kLocalMachine, net + "\\Enum");
  Keep(kLocalMachine, cls + "\\Enum");
  Keep(kLocalMachine, "Software\\ReadOnly");
  scan.memory.registry.SetKeyAccess(kLocalMachine, "Software\\ReadOnly", KeyAccess::ReadOnly);
  expected.registry.SetKeyAccess(kLocalMachine, "Software\\ReadOnly", KeyAccess::ReadOnly);
  testing::RecordingKeeper keeper;
  keeper.refuse = {"HKLM\\" + platform::memory::MemoryText().UpperCase(cls)};
  RemovalReport report;

  EXPECT_TRUE(scanner::DeleteFoundKeys(
      scan.context,
      {"hklm\\" + net, "HKLM\\" + cls, "", "HKEY_LOCAL_MACHINE\\Software", "HKLM\\Software\\Missing",
       "HKLM\\Software\\ReadOnly"},
      keeper, report));
  EXPECT_THAT(Describe(report),
              ElementsAre("hklm\\" + net + ": removed", "HKLM\\" + cls + ": left/not kept",
                          "HKEY_LOCAL_MACHINE\\Software: left/not removable",
                          "HKLM\\Software\\Missing: gone",
                          "HKLM\\Software\\ReadOnly: left/delete failed"));
  ExpectOnlyDoomedKeysGone();
}

struct RestartCase {
  const char* name;
  bool openFails;
  bool holdsPrivilege;
  bool restarts;
};

void PrintTo(const RestartCase& c, std::ostream* os) { *os << c.name; }


class RestartComputerTest : public ::testing::TestWithParam<RestartCase> {};

TEST_P(RestartComputerTest, RestartsOnlyWithTheShutdownPrivilegeEnabled) {
  testing::MemoryScan scan;
  auto& token = scan.memory.token;
  token.SetOpenFails(GetParam().openFails);
  token.SetHoldsShutdownPrivilege(GetParam().holdsPrivilege);

  RestartComputer(scan.context);

  if (GetParam().restarts) {
    ASSERT_EQ(token.ExitRequests().size(), 1u);
    EXPECT_EQ(token.ExitRequests()[0].flags, platform::kEwxReboot);
    EXPECT_EQ(token.ExitRequests()[0].reason, 0xFFFFFFFFu);
    EXPECT_TRUE(token.ShutdownPrivilegeEnabled());
  } else {
    EXPECT_THAT(token.ExitRequests(), IsEmpty());
  }
  EXPECT_EQ(token.OpenTokenCount(), 0u) << "the token is closed again";
}

INSTANTIATE_TEST_SUITE_P(Tokens, RestartComputerTest,
                         ::testing::Values(RestartCase{"PrivilegeHeld", false, true, true},
                                           RestartCase{"PrivilegeNotHeld", false, false, false},
                                           RestartCase{"TokenCannotBeOpened", true, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scanner
