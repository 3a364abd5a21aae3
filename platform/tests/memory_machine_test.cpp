// What only the in-memory machine does: key access levels, failures on
// demand, the restart request and the dumps that scenario tests compare.

#include <gtest/gtest.h>

#include "platform/memory/memory_machine.h"

namespace platform::memory {
namespace {

TEST(MemoryRegistryAccess, OpeningFallsBackToTheLevelTheKeyAllows) {
  MemoryRegistry reg;
  reg.AddKey(kLocalMachine, "System\\Services\\MrxNet");
  reg.SetKeyAccess(kLocalMachine, "System\\Services\\MrxNet", KeyAccess::ReadOnly);
  reg.SetString(kLocalMachine, "System\\Services\\MrxNet", "ImagePath", "x.sys");

  const auto key = reg.OpenKey(kLocalMachine, "System\\Services\\MrxNet");
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(reg.ReadString(*key, "ImagePath"), "x.sys");
  const std::uint8_t one[] = {1, 0, 0, 0};
  // The handle carries read access only.
  EXPECT_EQ(reg.SetValue(*key, u"v", kRegDword, one, sizeof one), kErrorAccessDenied);
  reg.CloseKey(*key);

  RegKey wide = 0;
  EXPECT_EQ(reg.OpenKey(kLocalMachine, u"System\\Services\\MrxNet", kKeyReadCreateSet, &wide),
            kErrorAccessDenied);
  EXPECT_EQ(reg.OpenKey(kLocalMachine, u"System\\Services\\MrxNet", kKeyRead, &wide),
            kErrorSuccess);
  reg.CloseKey(wide);
  EXPECT_FALSE(reg.DeleteKeyNoFollow(kLocalMachine, "System\\Services\\MrxNet"));
  EXPECT_TRUE(reg.HasKey(kLocalMachine, "System\\Services\\MrxNet"));
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST(MemoryRegistryAccess, ADeniedKeyNeverOpensButStillBlocksItsParentsDeletion) {
  MemoryRegistry reg;
  reg.SetKeyAccess(kLocalMachine, "System\\Services\\MrxCls", KeyAccess::Denied);
  EXPECT_FALSE(reg.KeyExists(kLocalMachine, "System\\Services\\MrxCls"));
  RegKey key = 0;
  EXPECT_EQ(reg.OpenKey(kLocalMachine, u"System\\Services\\MrxCls", kKeyRead, &key),
            kErrorAccessDenied);
  EXPECT_EQ(reg.CreateKey(kLocalMachine, u"System\\Services\\MrxCls\\Sub", kKeyAllAccess, &key),
            kErrorAccessDenied);
  EXPECT_FALSE(reg.DeleteKeyNoFollow(kLocalMachine, "System\\Services\\MrxCls"));
  EXPECT_FALSE(reg.DeleteKeyNoFollow(kLocalMachine, "System\\Services"));
}

TEST(MemoryRegistryDump, IsIndependentOfSeedingOrderAndShowsChanges) {
  MemoryRegistry first;
  first.AddKey(kLocalMachine, "B\\Y");
  first.SetString(kLocalMachine, "A", "Name", "v");
  MemoryRegistry second;
  second.SetString(kLocalMachine, "a", "Name", "v");  // case kept from the first seeding
  second.AddKey(kLocalMachine, "B\\Y");
  EXPECT_NE(first.Dump(), second.Dump());
  second.AddKey(kLocalMachine, "A");
  MemoryRegistry third;
  third.AddKey(kLocalMachine, "B\\Y");
  third.AddKey(kLocalMachine, "A");
  third.SetString(kLocalMachine, "A", "Name", "v");
  EXPECT_EQ(first.Dump(), third.Dump());

  const std::string before = first.Dump();
  EXPECT_FALSE(first.DeleteKeyNoFollow(kLocalMachine, "B"));
  EXPECT_EQ(first.Dump(), before);
  EXPECT_TRUE(first.DeleteKeyNoFollow(kLocalMachine, "B\\Y"));
  EXPECT_NE(first.Dump(), before);
}

TEST(MemoryRegistrySeeding, StringsAreStoredAsTerminatedUtf16) {
  MemoryRegistry reg;
  reg.SetString(kCurrentUser, "K", "", "é", kRegExpandSz);
  EXPECT_EQ(reg.ValueType(kCurrentUser, "K", ""), kRegExpandSz);
  EXPECT_EQ(reg.ValueData(kCurrentUser, "k", ""), (std::vector<std::uint8_t>{0xE9, 0, 0, 0}));
  EXPECT_EQ(reg.ValueData(kCurrentUser, "K", "other"), std::nullopt);
  EXPECT_THROW(reg.AddKey(0x1234, "K"), std::invalid_argument);
}

TEST(MemoryFiles, FailingListingKeepsTheEntriesBeforeTheError) {
  MemoryFileSystem files;
  files.AddFile("E:\\a.lnk", {1});
  files.AddFile("E:\\b.tmp", {1});
  files.FailListing("E:\\", 1);
  const auto entries = files.ListDirectory("E:\\*.*");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "a.lnk");
  files.FailListing("E:\\", 0);
  EXPECT_TRUE(files.ListDirectory("E:\\*.*").empty());
}

TEST(MemoryFiles, ALockedFileIsListedButNotReadOrDeleted) {
  MemoryFileSystem files;
  files.AddFile("E:\\x.lnk", {0x4C});
  files.LockFile("E:\\x.lnk");
  EXPECT_EQ(files.ListDirectory("E:\\*.*").size(), 1u);
  EXPECT_TRUE(files.FileExists("E:\\x.lnk"));
  EXPECT_EQ(files.ReadHead("E:\\x.lnk", 1), std::nullopt);
  EXPECT_FALSE(files.RemoveFile("E:\\x.lnk"));
  EXPECT_THROW(files.LockFile("E:\\missing.lnk"), std::invalid_argument);
}

TEST(MemoryFiles, ASparseFileReadsAsItsHeadThenZeros) {
  MemoryFileSystem files;
  files.AddSparseFile("E:\\big.tmp", 5'000'000'000ull, {'M', 'Z'});
  const auto head = files.ReadHead("E:\\big.tmp", 4);
  ASSERT_TRUE(head.has_value());
  EXPECT_EQ(head->size, 5'000'000'000ull);
  EXPECT_EQ(head->bytes, (std::vector<std::uint8_t>{'M', 'Z', 0, 0}));
  EXPECT_EQ(files.LargestRead(), 4u);
  files.ReadHead("E:\\big.tmp", 600);
  files.ReadHead("E:\\big.tmp", 2);
  EXPECT_EQ(files.LargestRead(), 600u);
}

// Documented Windows behaviour that Wine run as root does not show, so the
// contract tests cannot hold it: CREATE_ALWAYS with normal attributes
// refuses a hidden, system or read-only file.
TEST(MemoryFiles, ReplacingRefusesHiddenSystemAndReadOnlyFiles) {
  MemoryFileSystem files;
  for (const std::uint32_t attributes : {kAttributeHidden, kAttributeSystem, kAttributeReadOnly}) {
    files.AddFile("E:\\x.tmp", {9}, attributes);
    EXPECT_EQ(files.CreateWriter("E:\\x.tmp", true), nullptr) << attributes;
    EXPECT_EQ(files.ReadHead("E:\\x.tmp", 1)->bytes, std::vector<std::uint8_t>{9});
  }
}

TEST(MemoryFiles, AnAdministratorsDirectoryIsNeverOneAnotherUserMade) {
  MemoryFileSystem files;
  files.AddUserDirectory("C:\\ProgramData\\Planted");
  EXPECT_FALSE(files.MakeAdministratorsDirectory("C:\\ProgramData\\Planted"));
  EXPECT_TRUE(files.MakeAdministratorsDirectory("C:\\ProgramData\\Ours"));
  EXPECT_TRUE(files.MakeAdministratorsDirectory("C:\\ProgramData\\Ours"));
}

TEST(MemoryFiles, AFullDiskTakesWhatFitsAndAWriteThatDoesNotFitFails) {
  MemoryFileSystem files;
  files.SetFreeSpace("C:", 5);
  auto writer = files.CreateWriter("C:\\ProgramData\\a.qri", false);
  ASSERT_NE(writer, nullptr);
  const std::uint8_t bytes[] = {1, 2, 3, 4};
  EXPECT_TRUE(writer->Write(bytes, 4));
  EXPECT_FALSE(writer->Write(bytes, 4));
  writer.reset();
  EXPECT_EQ(files.ReadHead("C:\\ProgramData\\a.qri", 10)->size, 5u);
  files.AddDirectory("E:\\");
  auto other = files.CreateWriter("E:\\b.qri", false);
  ASSERT_NE(other, nullptr);
  EXPECT_TRUE(other->Write(bytes, 4)) << "another drive has room";
}

TEST(MemoryFiles, ARestartEndsEveryHoldAndCarriesOutThePendingRemovals) {
  MemoryFileSystem files;
  files.AddFile("C:\\WINDOWS\\mrxnet.sys", {'M', 'Z'});
  files.AddFile("C:\\WINDOWS\\held.sys", {'M', 'Z'});
  files.HoldOpenForWriting("C:\\WINDOWS\\mrxnet.sys");
  files.HoldOpenForWriting("C:\\WINDOWS\\held.sys");
  EXPECT_TRUE(files.RemoveAtRestart("C:\\WINDOWS\\MRXNET.SYS"));
  EXPECT_TRUE(files.RemoveAtRestart("C:\\WINDOWS\\missing.sys"));
  files.Restart();
  EXPECT_FALSE(files.Exists("C:\\WINDOWS\\mrxnet.sys"));
  EXPECT_TRUE(files.RemoveFile("C:\\WINDOWS\\held.sys")) << "nothing holds it any more";
  EXPECT_TRUE(files.PendingRemovals().empty());
}

TEST(MemoryFiles, WindowsDirectoryAndDumpFollowTheSeeding) {
  MemoryFileSystem files;
  EXPECT_EQ(files.WindowsDirectory(), "C:\\WINDOWS");
  files.SetWindowsDirectory(std::nullopt);
  EXPECT_EQ(files.WindowsDirectory(), std::nullopt);
  // A buffer of 255 characters holds 254 and the terminator.
  files.SetWindowsDirectory(std::string(254, 'w'));
  EXPECT_EQ(files.WindowsDirectory(), std::string(254, 'w'));
  files.SetWindowsDirectory(std::string(255, 'w'));
  EXPECT_EQ(files.WindowsDirectory(), std::nullopt);

  files.AddFile("C:\\WINDOWS\\inf\\mdmcpq3.PNF", {1, 2});
  EXPECT_TRUE(files.Exists("c:\\windows\\INF"));
  EXPECT_EQ(files.Attributes("C:\\WINDOWS\\inf\\mdmcpq3.PNF"), kAttributeArchive);
  const std::string before = files.Dump();
  EXPECT_NE(before.find("C:\\WINDOWS\\inf\\mdmcpq3.PNF"), std::string::npos);
  EXPECT_TRUE(files.SetAttributes("C:\\WINDOWS\\inf\\mdmcpq3.PNF", 0));
  EXPECT_EQ(files.Attributes("C:\\WINDOWS\\inf\\mdmcpq3.PNF"), kAttributeNormal);
  EXPECT_NE(files.Dump(), before);
}

TEST(MemoryDrivesTest, FailureAndErrorModeRecording) {
  MemoryDrives drives;
  drives.AddDrive("e:\\", kDriveRemovable);
  drives.AddDrive("C:\\", kDriveFixed);
  EXPECT_EQ(drives.LogicalDriveStrings(), std::string("C:\\\0E:\\\0\0", 9));
  EXPECT_EQ(drives.DriveType("E:\\"), kDriveRemovable);
  drives.FailDriveStrings(true);
  EXPECT_EQ(drives.LogicalDriveStrings(), std::nullopt);

  drives.SetErrorMode(kSemFailCriticalErrors);
  drives.SetErrorMode(0);
  EXPECT_EQ(drives.ErrorModeCalls(), (std::vector<std::uint32_t>{kSemFailCriticalErrors, 0}));
  EXPECT_EQ(drives.ErrorMode(), 0u);
}

TEST(MemoryToken, RestartNeedsTheEnabledShutdownPrivilege) {
  MemoryProcessToken token;
  EXPECT_FALSE(token.ExitWindowsEx(kEwxReboot, 0xFFFFFFFF));
  const auto handle = token.OpenProcessToken(kTokenAdjustPrivileges | kTokenQuery);
  ASSERT_TRUE(handle.has_value());
  const auto luid = token.LookupPrivilege("seshutdownprivilege");
  ASSERT_TRUE(luid.has_value());
  const AdjustResult result = token.AdjustPrivilege(*handle, *luid, kSePrivilegeEnabled);
  EXPECT_TRUE(result.succeeded);
  EXPECT_EQ(result.lastError, 0u);
  EXPECT_TRUE(token.ShutdownPrivilegeEnabled());
  EXPECT_EQ(token.OpenTokenCount(), 1u);
  token.CloseToken(*handle);
  EXPECT_EQ(token.OpenTokenCount(), 0u);

  EXPECT_TRUE(token.ExitWindowsEx(kEwxReboot, 0xFFFFFFFF));
  ASSERT_EQ(token.ExitRequests().size(), 2u);
  EXPECT_EQ(token.ExitRequests()[1].flags, kEwxReboot);
  EXPECT_EQ(token.ExitRequests()[1].reason, 0xFFFFFFFFu);
}

TEST(MemoryToken, WithoutTheShutdownPrivilegeTheAdjustmentIsPartial) {
  MemoryProcessToken token;
  token.SetHoldsShutdownPrivilege(false);
  const auto handle = token.OpenProcessToken(kTokenAdjustPrivileges | kTokenQuery);
  ASSERT_TRUE(handle.has_value());
  const AdjustResult result =
      token.AdjustPrivilege(*handle, *token.LookupPrivilege("SeShutdownPrivilege"),
                            kSePrivilegeEnabled);
  EXPECT_TRUE(result.succeeded);
  EXPECT_EQ(result.lastError, 1300u);
  EXPECT_FALSE(token.ShutdownPrivilegeEnabled());
  token.CloseToken(*handle);
}

TEST(MemoryToken, AdjustingNeedsAnOpenTokenWithAdjustRights) {
  MemoryProcessToken token;
  const auto query = token.OpenProcessToken(kTokenQuery);
  ASSERT_TRUE(query.has_value());
  const Luid shutdown = *token.LookupPrivilege("SeShutdownPrivilege");
  EXPECT_FALSE(token.AdjustPrivilege(*query, shutdown, kSePrivilegeEnabled).succeeded);
  token.CloseToken(*query);
  EXPECT_FALSE(token.AdjustPrivilege(*query, shutdown, kSePrivilegeEnabled).succeeded);
  EXPECT_FALSE(token.ShutdownPrivilegeEnabled());

  token.SetOpenFails(true);
  EXPECT_EQ(token.OpenProcessToken(kTokenAdjustPrivileges), std::nullopt);
}

}  // namespace
}  // namespace platform::memory
