#include "scanner/drive_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scanner/tests/memory_scan.h"

namespace scanner {
namespace {

using platform::kAttributeHidden;
using platform::kAttributeReadOnly;
using platform::kAttributeSystem;
using platform::kDriveCdRom;
using platform::kDriveFixed;
using platform::kDriveRemote;
using platform::kDriveRemovable;
using testing::BytesStartingWith;
using testing::ControlPanelShortcut;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

constexpr std::uint32_t kPreviousErrorMode = 0x8000;

class DriveScanTest : public ::testing::Test {
 protected:
  DriveScanTest() { scan.memory.drives.SetErrorMode(kPreviousErrorMode); }

  bool Scan() {
    const std::string before = scan.memory.Snapshot();
    const bool found = ScanRemovableDrives(scan.context, findings);
    EXPECT_EQ(scan.memory.Snapshot(), before) << "the scan only reads";
    EXPECT_EQ(scan.memory.drives.ErrorMode(), kPreviousErrorMode);
    EXPECT_THAT(scan.memory.drives.ErrorModeCalls(),
                ElementsAre(kPreviousErrorMode, platform::kSemFailCriticalErrors,
                            kPreviousErrorMode));
    return found;
  }

  testing::MemoryScan scan;
  Findings findings;
};

TEST_F(DriveScanTest, NoRemovableDriveFindsNothing) {
  scan.memory.drives.AddDrive("C:\\", kDriveFixed);
  scan.memory.drives.AddDrive("D:\\", kDriveCdRom);
  scan.memory.drives.AddDrive("Z:\\", kDriveRemote);
  scan.memory.files.AddFile("C:\\autorun.inf", {});
  EXPECT_FALSE(Scan());
  EXPECT_THAT(findings, IsEmpty());
}

TEST_F(DriveScanTest, FailingDriveStringsFindNothing) {
  scan.memory.drives.AddDrive("E:\\", kDriveRemovable);
  scan.memory.files.AddFile("E:\\autorun.inf", {});
  scan.memory.drives.FailDriveStrings(true);
  EXPECT_FALSE(Scan());
  EXPECT_THAT(findings, IsEmpty());
}

TEST_F(DriveScanTest, DriveThatCannotBeListedIsSkipped) {
  scan.memory.drives.AddDrive("A:\\", kDriveRemovable);
  scan.memory.drives.AddDrive("E:\\", kDriveRemovable);
  scan.memory.files.AddFile("A:\\autorun.inf", {});
  scan.memory.files.FailListing("A:\\");
  scan.memory.files.AddFile("E:\\AutoRun.Inf", {});
  EXPECT_TRUE(Scan());
  EXPECT_THAT(findings, ElementsAre("E:\\AutoRun.Inf"));
}

TEST_F(DriveScanTest, FindsTheSuspiciousFilesOfTheRootOnly) {
  scan.memory.drives.AddDrive("C:\\", kDriveFixed);
  scan.memory.drives.AddDrive("E:\\", kDriveRemovable);
  scan.memory.drives.AddDrive("F:\\", kDriveRemovable);
  auto& files = scan.memory.files;
  files.AddFile("C:\\setup.tmp", BytesStartingWith("MZ", 600));

  files.AddFile("E:\\autorun.inf", {'x'});
  files.AddFile("E:\\photo.jpg.lnk", ControlPanelShortcut());
  files.AddFile("E:\\ordinary.lnk", ControlPanelShortcut(128));
  files.AddFile("E:\\hidden.LNK", ControlPanelShortcut(),
                kAttributeHidden | kAttributeSystem | kAttributeReadOnly);
  files.AddFile("E:\\exact512.TMP", BytesStartingWith("MZ", 512));
  files.AddFile("E:\\over512.TMP", BytesStartingWith("MZ", 513));
  files.AddFile("E:\\lower.tmp", BytesStartingWith("MZ", 600), kAttributeHidden);
  files.AddFile("E:\\notexe.tmp", BytesStartingWith("ZM", 600));
  files.AddFile("E:\\locked.tmp", BytesStartingWith("MZ", 600));
  files.LockFile("E:\\locked.tmp");
  files.AddFile("E:\\program.exe", BytesStartingWith("MZ", 600));
  files.AddFile("E:\\shortcut.lnk.txt", ControlPanelShortcut());
  files.AddFile("E:\\setup.inf", {'x'});
  files.AddFile("E:\\AUTORUN", {'x'});
  files.AddFile("E:\\sub\\AUTORUN.INF", {'x'});
  files.AddFile("E:\\sub\\evil.lnk", ControlPanelShortcut());
  files.AddDirectory("E:\\evil.lnk");
  files.AddDirectory("F:\\AUTORUN.INF");
  files.AddSparseFile("F:\\huge.TMP", std::uint64_t{2} << 30, {'M', 'Z'});

  EXPECT_TRUE(Scan());
  EXPECT_THAT(findings, UnorderedElementsAre("E:\\autorun.inf", "E:\\photo.jpg.lnk",
                                             "E:\\hidden.LNK", "E:\\over512.TMP",
                                             "E:\\lower.tmp", "F:\\huge.TMP"));
  EXPECT_LE(files.LargestRead(), 118u) << "files are never read whole";
}

TEST_F(DriveScanTest, ListingErrorKeepsWhatWasFoundBefore) {
  scan.memory.drives.AddDrive("E:\\", kDriveRemovable);
  scan.memory.drives.AddDrive("F:\\", kDriveRemovable);
  scan.memory.files.AddFile("E:\\a.tmp", BytesStartingWith("MZ", 513));
  scan.memory.files.AddFile("E:\\b.tmp", BytesStartingWith("MZ", 513));
  scan.memory.files.FailListing("E:\\", 1);
  scan.memory.files.AddFile("F:\\c.tmp", BytesStartingWith("MZ", 513));
  EXPECT_TRUE(Scan());
  // One entry of E: is listed before the error, then F: is scanned.
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_THAT(findings[0], ::testing::AnyOf("E:\\a.tmp", "E:\\b.tmp"));
  EXPECT_EQ(findings[1], "F:\\c.tmp");
}

TEST(ListRemovableDrives, UpperCasedRootsWithoutBackslashInSystemOrder) {
  testing::MemoryScan scan;
  scan.memory.drives.AddDrive("A:\\", kDriveRemovable);
  scan.memory.drives.AddDrive("C:\\", kDriveFixed);
  scan.memory.drives.AddDrive("G:\\", kDriveRemovable);
  scan.memory.drives.AddDrive("Q:\\", kDriveRemote);
  std::vector<std::string> drives = {"stale"};
  ListRemovableDrives(scan.context, drives);
  EXPECT_THAT(drives, ElementsAre("A:", "G:"));

  scan.memory.drives.FailDriveStrings(true);
  ListRemovableDrives(scan.context, drives);
  EXPECT_THAT(drives, IsEmpty());
}

TEST(ScanDriveRoot, AcceptsRootWithOrWithoutBackslash) {
  testing::MemoryScan scan;
  scan.memory.files.AddFile("E:\\autorun.inf", {});
  Findings findings;
  ScanDriveRoot(scan.context, "E:", findings);
  ScanDriveRoot(scan.context, "E:\\", findings);
  ScanDriveRoot(scan.context, "", findings);
  EXPECT_THAT(findings, ElementsAre("E:\\autorun.inf", "E:\\autorun.inf"));
}

TEST(IsDisguisedExecutable, SizeAndFirstTwoBytes) {
  testing::MemoryScan scan;
  auto& files = scan.memory.files;
  files.AddFile("E:\\512.tmp", BytesStartingWith("MZ", 512));
  files.AddFile("E:\\513.tmp", BytesStartingWith("MZ", 513));
  files.AddFile("E:\\mz_lower.tmp", BytesStartingWith("mz", 600));
  files.AddFile("E:\\m_only.tmp", BytesStartingWith("M", 600));
  EXPECT_FALSE(IsDisguisedExecutable(scan.context, "E:\\512.tmp"));
  EXPECT_TRUE(IsDisguisedExecutable(scan.context, "E:\\513.tmp"));
  EXPECT_FALSE(IsDisguisedExecutable(scan.context, "E:\\mz_lower.tmp"));
  EXPECT_FALSE(IsDisguisedExecutable(scan.context, "E:\\m_only.tmp"));
  EXPECT_FALSE(IsDisguisedExecutable(scan.context, "E:\\missing.tmp"));
  EXPECT_FALSE(IsDisguisedExecutable(scan.context, ""));
}

}  // namespace
}  // namespace scanner
