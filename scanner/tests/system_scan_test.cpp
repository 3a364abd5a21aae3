#include "scanner/system_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include "scanner/tests/memory_scan.h"

namespace scanner {
namespace {

using platform::kLocalMachine;
using platform::kRegDword;
using platform::kRegExpandSz;
using platform::kRegSz;
using platform::memory::KeyAccess;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kMrxNet = "System\\CurrentControlSet\\Services\\MrxNet";
constexpr const char* kMrxCls = "System\\CurrentControlSet\\Services\\MrxCls";
constexpr const char* kMrxNetFinding = "HKLM\\System\\CurrentControlSet\\Services\\MrxNet";
constexpr const char* kMrxClsFinding = "HKLM\\System\\CurrentControlSet\\Services\\MrxCls";

struct NormalizeCase {
  std::string windowsDir;
  std::string imagePath;
  std::string expected;
};

void PrintTo(const NormalizeCase& c, std::ostream* os) { *os << c.imagePath; }


class NormalizeDriverPathTest : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeDriverPathTest, ResolvesAgainstTheWindowsDirectory) {
  testing::MemoryScan scan;
  scan.context.WindowsDir = GetParam().windowsDir;
  EXPECT_EQ(NormalizeDriverPath(scan.context, GetParam().imagePath), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, NormalizeDriverPathTest,
    ::testing::Values(
        NormalizeCase{"C:\\WINDOWS", "\\??\\C:\\WINDOWS\\system32\\Drivers\\mrxnet.sys",
                      "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXNET.SYS"},
        NormalizeCase{"C:\\WINDOWS", "\\SystemRoot\\System32\\drivers\\mrxcls.sys",
                      "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXCLS.SYS"},
        NormalizeCase{"C:\\WINDOWS", "system32\\drivers\\mrxnet.sys",
                      "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXNET.SYS"},
        NormalizeCase{"C:\\WINDOWS", "\\WINNT\\mrxcls.sys", "C:\\WINNT\\MRXCLS.SYS"},
        NormalizeCase{"C:\\WINDOWS", "D:\\drv\\mrxnet.sys", "D:\\DRV\\MRXNET.SYS"},
        // The Windows directory keeps its own case; what stood before
        // \SYSTEMROOT is dropped.
        NormalizeCase{"C:\\Windows", "\\??\\X:\\junk\\SystemRoot\\a.sys", "C:\\Windows\\A.SYS"},
        // The percent form matches no rule and is only upper-cased.
        NormalizeCase{"C:\\WINDOWS", "%SystemRoot%\\system32\\drivers\\mrxnet.sys",
                      "%SYSTEMROOT%\\SYSTEM32\\DRIVERS\\MRXNET.SYS"},
        // No drive to borrow from a Windows directory of two characters.
        NormalizeCase{"C:", "\\WINNT\\mrxcls.sys", "\\WINNT\\MRXCLS.SYS"},
        NormalizeCase{"C:\\WINDOWS", "", ""}));

struct ExpandCase {
  std::string path;
  std::string expected;
};

void PrintTo(const ExpandCase& c, std::ostream* os) { *os << c.path; }


class ExpandPathVariablesTest : public ::testing::TestWithParam<ExpandCase> {};

TEST_P(ExpandPathVariablesTest, UpperCasesThenExpands) {
  testing::MemoryScan scan;
  scan.memory.files.SetEnvironment("SystemRoot", "C:\\Windows");
  scan.memory.files.SetEnvironment("Long", std::string(300, 'x'));
  EXPECT_EQ(ExpandPathVariables(scan.context, GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ExpandPathVariablesTest,
    ::testing::Values(
        ExpandCase{"", ""},
        ExpandCase{"c:\\drv\\mrxnet.sys", "C:\\DRV\\MRXNET.SYS"},
        // The variable's value keeps its own case.
        ExpandCase{"%SystemRoot%\\system32\\drivers\\mrxnet.sys",
                   "C:\\Windows\\SYSTEM32\\DRIVERS\\MRXNET.SYS"},
        // Too long for the path buffer: kept unexpanded, so it is still listed.
        ExpandCase{"%long%\\mrxnet.sys", "%LONG%\\MRXNET.SYS"}));

TEST(GetWindowsDir, StoresTheDirectoryOrNothing) {
  testing::MemoryScan scan;
  scan.memory.files.SetWindowsDirectory("C:\\Windows");
  GetWindowsDir(scan.context);
  EXPECT_EQ(scan.context.WindowsDir, "C:\\Windows");

  scan.memory.files.SetWindowsDirectory(std::nullopt);
  GetWindowsDir(scan.context);
  EXPECT_EQ(scan.context.WindowsDir, "");
}

class ScanSystemTest : public ::testing::Test {
 protected:
  void AddLoader(const std::string& name) {
    scan.memory.files.AddFile("C:\\WINDOWS\\inf\\" + name, {1, 2, 3});
  }
  bool Scan() {
    const std::string before = scan.memory.Snapshot();
    const bool verdict = ScanSystem(scan.context, &registryFindings, &fileFindings);
    EXPECT_EQ(scan.memory.Snapshot(), before) << "the scan only reads";
    EXPECT_EQ(scan.memory.registry.OpenHandleCount(), 0u);
    return verdict;
  }

  testing::MemoryScan scan;
  Findings registryFindings;
  Findings fileFindings;
};

TEST_F(ScanSystemTest, CleanMachineFindsNothing) {
  scan.memory.registry.AddKey(kLocalMachine, "System\\CurrentControlSet\\Services\\Tcpip");
  EXPECT_FALSE(Scan());
  EXPECT_THAT(registryFindings, IsEmpty());
  EXPECT_THAT(fileFindings, IsEmpty());
}

TEST_F(ScanSystemTest, BothServicesThenLoaderFiles) {
  scan.memory.registry.SetString(kLocalMachine, kMrxNet, "ImagePath",
                                 "\\??\\C:\\WINDOWS\\system32\\Drivers\\mrxnet.sys");
  scan.memory.registry.SetString(kLocalMachine, kMrxCls, "ImagePath",
                                 "\\SystemRoot\\System32\\drivers\\mrxcls.sys", kRegExpandSz);
  // The listing's spelling does not matter: the table's names are reported.
  AddLoader("OEM7A.pnf");
  AddLoader("mdmcpq3.PNF");
  AddLoader("mdmcpq3.PNF.bak");

  EXPECT_TRUE(Scan());
  EXPECT_THAT(registryFindings, ElementsAre(kMrxNetFinding, kMrxClsFinding));
  EXPECT_THAT(fileFindings, ElementsAre("C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXNET.SYS",
                                        "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXCLS.SYS",
                                        "C:\\WINDOWS\\inf\\mdmcpq3.PNF",
                                        "C:\\WINDOWS\\inf\\oem7A.PNF"));
}

TEST_F(ScanSystemTest, OnlyMrxCls) {
  scan.context.WindowsDir = "C:\\Windows";
  scan.memory.registry.SetString(kLocalMachine, kMrxCls, "ImagePath",
                                 "\\SystemRoot\\System32\\drivers\\mrxcls.sys");
  EXPECT_TRUE(Scan());
  EXPECT_THAT(registryFindings, ElementsAre(kMrxClsFinding));
  EXPECT_THAT(fileFindings, ElementsAre("C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXCLS.SYS"));
}

TEST_F(ScanSystemTest, ServiceWithoutImagePathGivesOnlyTheKey) {
  scan.memory.registry.AddKey(kLocalMachine, kMrxNet);
  scan.memory.registry.SetString(kLocalMachine, kMrxNet, "DisplayName", "net");
  EXPECT_TRUE(Scan());
  EXPECT_THAT(registryFindings, ElementsAre(kMrxNetFinding));
  EXPECT_THAT(fileFindings, IsEmpty());
}

TEST_F(ScanSystemTest, UnreadableImagePathEndsTheServiceCheck) {
  scan.memory.registry.SetValue(kLocalMachine, kMrxNet, "ImagePath", kRegDword, {1, 0, 0, 0});
  scan.memory.registry.SetString(kLocalMachine, kMrxCls, "ImagePath", "\\??\\C:\\x.sys");
  AddLoader("oem6C.PNF");
  EXPECT_TRUE(Scan());
  EXPECT_THAT(registryFindings, ElementsAre(kMrxNetFinding));
  EXPECT_THAT(fileFindings, ElementsAre("C:\\WINDOWS\\inf\\oem6C.PNF"));
}

TEST_F(ScanSystemTest, KeyThatCannotBeOpenedCountsAsAbsent) {
  scan.memory.registry.SetString(kLocalMachine, kMrxNet, "ImagePath", "\\??\\C:\\net.sys");
  scan.memory.registry.SetKeyAccess(kLocalMachine, kMrxNet, KeyAccess::Denied);
  EXPECT_FALSE(Scan());
  EXPECT_THAT(registryFindings, IsEmpty());
  EXPECT_THAT(fileFindings, IsEmpty());
}

TEST_F(ScanSystemTest, ReadOnlyKeyIsStillFound) {
  scan.memory.registry.SetString(kLocalMachine, kMrxCls, "ImagePath", "\\??\\C:\\cls.sys");
  scan.memory.registry.SetKeyAccess(kLocalMachine, kMrxCls, KeyAccess::ReadOnly);
  EXPECT_TRUE(Scan());
  EXPECT_THAT(registryFindings, ElementsAre(kMrxClsFinding));
  EXPECT_THAT(fileFindings, ElementsAre("C:\\CLS.SYS"));
}

TEST_F(ScanSystemTest, LoaderFilesAloneAreNotAnInfection) {
  AddLoader("mdmeric3.PNF");
  scan.memory.files.AddDirectory("C:\\WINDOWS\\inf\\oem6C.PNF");
  EXPECT_FALSE(Scan());
  EXPECT_THAT(registryFindings, IsEmpty());
  EXPECT_THAT(fileFindings, ElementsAre("C:\\WINDOWS\\inf\\mdmeric3.PNF"));
}

TEST_F(ScanSystemTest, PercentSystemRootIsExpanded) {
  scan.memory.files.SetEnvironment("SystemRoot", "C:\\Windows");
  scan.memory.registry.SetString(kLocalMachine, kMrxNet, "ImagePath",
                                 "%SystemRoot%\\system32\\drivers\\mrxnet.sys", kRegExpandSz);
  EXPECT_TRUE(Scan());
  EXPECT_THAT(fileFindings, ElementsAre("C:\\Windows\\SYSTEM32\\DRIVERS\\MRXNET.SYS"));
}

TEST_F(ScanSystemTest, EmptyImagePathGivesNoFile) {
  scan.memory.registry.SetValue(kLocalMachine, kMrxNet, "ImagePath", kRegSz, {});
  EXPECT_TRUE(Scan());
  EXPECT_THAT(registryFindings, ElementsAre(kMrxNetFinding));
  EXPECT_THAT(fileFindings, IsEmpty());
}

TEST_F(ScanSystemTest, MissingListDoesNothing) {
  scan.memory.registry.AddKey(kLocalMachine, kMrxNet);
  AddLoader("oem6C.PNF");
  EXPECT_FALSE(ScanSystem(scan.context, nullptr, &fileFindings));
  EXPECT_FALSE(ScanSystem(scan.context, &registryFindings, nullptr));
  EXPECT_THAT(registryFindings, IsEmpty());
  EXPECT_THAT(fileFindings, IsEmpty());
}

}  // namespace
}  // namespace scanner
