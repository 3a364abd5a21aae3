#include "scanner/shortcut_test.h"

#include <gtest/gtest.h>

#include <ostream>

#include <functional>

#include "scanner/tests/memory_scan.h"

namespace scanner {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct ShortcutCase {
  const char* name;
  std::function<Bytes()> content;
  bool malicious;
};

void PrintTo(const ShortcutCase& c, std::ostream* os) { *os << c.name; }


Bytes Changed(Bytes bytes, std::size_t offset, std::uint8_t value) {
  bytes[offset] = value;
  return bytes;
}

// Header bytes other than the tested ones filled with junk.
Bytes ArbitraryHeader() {
  Bytes bytes = testing::ControlPanelShortcut(129);
  for (std::size_t i = 1; i < 82; ++i) bytes[i] = static_cast<std::uint8_t>(0xA5 ^ i);
  bytes[20] = 0xFF;
  return bytes;
}

// A shortcut to a file: My Computer, then a drive item where the Control
// Panel item would be.
Bytes OrdinaryShortcut() {
  Bytes bytes = testing::ControlPanelShortcut(300);
  const std::string drive = "/C:\\";
  for (std::size_t i = 0; i < 16; ++i) bytes[102 + i] = 0;
  for (std::size_t i = 0; i < drive.size(); ++i) bytes[100 + i] = drive[i];
  return bytes;
}

class IsMaliciousShortcutTest : public ::testing::TestWithParam<ShortcutCase> {};

TEST_P(IsMaliciousShortcutTest, JudgesTheFixedPositions) {
  testing::MemoryScan scan;
  scan.memory.files.AddFile("E:\\x.lnk", GetParam().content());
  EXPECT_EQ(IsMaliciousShortcut(scan.context, "E:\\x.lnk"), GetParam().malicious);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, IsMaliciousShortcutTest,
    ::testing::Values(
        ShortcutCase{"ControlPanel129Bytes", [] { return testing::ControlPanelShortcut(129); },
                     true},
        ShortcutCase{"ControlPanel128Bytes", [] { return testing::ControlPanelShortcut(128); },
                     false},
        ShortcutCase{"FirstByteNot4C",
                     [] { return Changed(testing::ControlPanelShortcut(), 0, 0x4D); }, false},
        ShortcutCase{"NoTargetList",
                     [] { return Changed(testing::ControlPanelShortcut(), 20, 0xFE); }, false},
        ShortcutCase{"OnlyTargetListFlag",
                     [] { return Changed(testing::ControlPanelShortcut(), 20, 0x01); }, true},
        ShortcutCase{"FirstItemNotMyComputer",
                     [] { return Changed(testing::ControlPanelShortcut(), 97, 0x9C); }, false},
        ShortcutCase{"SecondItemNotControlPanel",
                     [] { return Changed(testing::ControlPanelShortcut(), 117, 0x9C); }, false},
        ShortcutCase{"SecondItemFirstByteDiffers",
                     [] { return Changed(testing::ControlPanelShortcut(), 102, 0x21); }, false},
        ShortcutCase{"OrdinaryShortcutToAFile", OrdinaryShortcut, false},
        ShortcutCase{"ArbitraryHeaderBytes", ArbitraryHeader, true},
        ShortcutCase{"Empty", [] { return Bytes(); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsMaliciousShortcut, UnreadableOrMissingFileOrEmptyPathIsNot) {
  testing::MemoryScan scan;
  scan.memory.files.AddFile("E:\\locked.lnk", testing::ControlPanelShortcut());
  scan.memory.files.LockFile("E:\\locked.lnk");
  EXPECT_FALSE(IsMaliciousShortcut(scan.context, "E:\\locked.lnk"));
  EXPECT_FALSE(IsMaliciousShortcut(scan.context, "E:\\missing.lnk"));
  EXPECT_FALSE(IsMaliciousShortcut(scan.context, ""));
}

TEST(IsMaliciousShortcut, HugeShortcutIsJudgedWithoutReadingIt) {
  testing::MemoryScan scan;
  const Bytes head = testing::ControlPanelShortcut(118);
  scan.memory.files.AddSparseFile("E:\\huge.lnk", std::uint64_t{3} << 30, head);
  EXPECT_TRUE(IsMaliciousShortcut(scan.context, "E:\\huge.lnk"));
  EXPECT_LE(scan.memory.files.LargestRead(), 118u);
}

}  // namespace
}  // namespace scanner
