// The seeds against the program's own scanner on the real registry and
// files of the Wine session: the scans find exactly the seeded threats, the
// harmless files stay unfound, and removing the seeds restores everything.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/e2e/seeds.h"
#include "app/e2e/tests/drive_root.h"
#include "app/e2e/tests/machine_snapshot.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_machine.h"
#include "scanner/drive_scan.h"
#include "scanner/system_scan.h"

namespace e2e::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;

std::string Upper(const std::wstring& text) {
  std::wstring upper = text;
  CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  return platform::win32::ToUtf8(upper);
}

class Seeds : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetDriveTypeW(root.c_str()), static_cast<UINT>(DRIVE_REMOVABLE))
        << "run inside the Wine session, which maps a removable drive";
    RemoveSeeds(root);
  }
  void TearDown() override { RemoveSeeds(root); }


  const std::wstring root = RemovableRoot();
  platform::win32::Win32Machine win32;
  scanner::ScanContext context{win32.machine(), ""};
};

TEST_F(Seeds, TheScansFindExactlyTheSeededThreats) {
  SeedInfection();
  SeedDriveThreats(root);
  SeedDriveBystanders(root);

  scanner::GetWindowsDir(context);
  scanner::Findings registryFindings;
  scanner::Findings fileFindings;
  EXPECT_TRUE(scanner::ScanSystem(context, &registryFindings, &fileFindings));
  std::vector<std::string> keys;
  for (const std::wstring& key : InfectionKeys()) keys.push_back("HKLM\\" + platform::win32::ToUtf8(key));
  EXPECT_THAT(registryFindings, ElementsAreArray(keys));
  // Driver paths come from "ImagePath" and are upper-cased; loader paths are not.
  const std::vector<std::wstring> files = InfectionFiles();
  std::vector<std::string> expectedFiles = {Upper(files[0]), Upper(files[1])};
  for (std::size_t i = 2; i < files.size(); ++i) expectedFiles.push_back(platform::win32::ToUtf8(files[i]));
  EXPECT_THAT(fileFindings, ElementsAreArray(expectedFiles));

  scanner::Findings driveFindings;
  EXPECT_TRUE(scanner::ScanRemovableDrives(context, driveFindings));
  std::vector<std::string> threats;
  for (const std::wstring& file : DriveThreatFiles(root)) threats.push_back(platform::win32::ToUtf8(file));
  EXPECT_THAT(driveFindings, UnorderedElementsAreArray(threats));
}

TEST_F(Seeds, AreAllThatSeedingChangesAndRemovingThemRestoresTheMachine) {
  const Snapshot before = RemovalScope(root);
  SeedInfection();
  SeedDriveThreats(root);
  SeedDriveBystanders(root);

  Snapshot seeded = RemovalScope(root);
  EXPECT_NE(seeded, before);
  for (const std::wstring& key : InfectionKeys()) Erase(seeded, L"HKLM\\" + key);
  for (const auto& files : {InfectionFiles(), DriveThreatFiles(root), DriveBystanderFiles(root)}) {
    for (const std::wstring& file : files) Erase(seeded, file);
  }
  Erase(seeded, root + L"Backup");
  EXPECT_THAT(Differences(before, seeded), IsEmpty());

  RemoveSeeds(root);
  EXPECT_THAT(Differences(before, RemovalScope(root)), IsEmpty());
}

}  // namespace
}  // namespace e2e::testing
