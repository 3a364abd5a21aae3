// Drives, the process token and upper-casing, the same on every backend.

#include <map>

#include "platform/tests/backends.h"

namespace platform::tests {
namespace {

constexpr std::uint32_t kErrorNotAllAssigned = 1300;

template <class Backend>
class SystemContract : public Contract<Backend> {};
TYPED_TEST_SUITE(SystemContract, ContractBackends);

TYPED_TEST(SystemContract, ErrorModeRoundTrip) {
  auto& drives = this->backend.drives();
  const std::uint32_t previous = drives.SetErrorMode(kSemFailCriticalErrors);
  EXPECT_EQ(drives.SetErrorMode(previous), kSemFailCriticalErrors);
}

TYPED_TEST(SystemContract, LogicalDriveStringsAreNulSeparatedRootsEndedByAnEmptyOne) {
  const auto strings = this->backend.drives().LogicalDriveStrings();
  ASSERT_TRUE(strings.has_value());
  ASSERT_GE(strings->size(), 5u);
  ASSERT_EQ(strings->substr(strings->size() - 2), std::string(2, '\0'));

  std::vector<std::string> roots;
  for (std::size_t at = 0; (*strings)[at] != '\0'; at += roots.back().size() + 1) {
    roots.push_back(strings->c_str() + at);
  }
  ASSERT_FALSE(roots.empty());
  for (const auto& root : roots) {
    ASSERT_EQ(root.size(), 3u) << root;
    EXPECT_TRUE(root[0] >= 'A' && root[0] <= 'Z') << root;
    EXPECT_EQ(root.substr(1), ":\\");
  }
  EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end()));
  EXPECT_NE(std::find(roots.begin(), roots.end(), "C:\\"), roots.end());
}

TYPED_TEST(SystemContract, DriveTypes) {
  auto& b = this->backend;
  EXPECT_EQ(b.drives().DriveType("C:\\"), kDriveFixed);
  EXPECT_EQ(b.drives().DriveType("Q:\\"), kDriveNoRootDir);
  const std::string removable = b.RemovableRoot();
  if (removable.empty()) GTEST_SKIP() << "no removable drive in this session";
  EXPECT_EQ(b.drives().DriveType(removable), kDriveRemovable);
}

TYPED_TEST(SystemContract, ShutdownPrivilegeCanBeAskedFor) {
  auto& token = this->backend.token();
  const auto handle = token.OpenProcessToken(kTokenAdjustPrivileges | kTokenQuery);
  ASSERT_TRUE(handle.has_value());
  const auto luid = token.LookupPrivilege("SeShutdownPrivilege");
  ASSERT_TRUE(luid.has_value());
  EXPECT_EQ(*luid, (Luid{19, 0}));
  const AdjustResult result = token.AdjustPrivilege(*handle, *luid, kSePrivilegeEnabled);
  EXPECT_TRUE(result.succeeded);
  EXPECT_TRUE(result.lastError == 0 || result.lastError == kErrorNotAllAssigned)
      << result.lastError;
  token.CloseToken(*handle);

  EXPECT_EQ(token.LookupPrivilege("SeNoSuchThingPrivilege"), std::nullopt);
}

TYPED_TEST(SystemContract, UpperCasesAsciiAndLatinLetters) {
  const std::map<std::string, std::string> cases = {
      {"c:\\windows\\inf\\mdmcpq3.pnf", "C:\\WINDOWS\\INF\\MDMCPQ3.PNF"},
      {"photo.jpg.lnk", "PHOTO.JPG.LNK"},
      {"éàüçñøþ", "ÉÀÜÇÑØÞ"},
      {"ÿ", "Ÿ"},
      {"ß÷× 123 %", "ß÷× 123 %"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(this->backend.text().UpperCase(text), expected) << text;
  }
}

}  // namespace
}  // namespace platform::tests
