// The icon guard's registry operations and their status codes.

#include <set>
#include <tuple>
#include <vector>

#include "platform/tests/backends.h"

namespace platform::tests {
namespace {

const std::u16string kBase = kScratchKeyWide;
constexpr std::int32_t kErrorBadPathname = 161;
constexpr std::int32_t kErrorKeyDeleted = 1018;
constexpr std::uint32_t kPoison = 0xDEADBEEF;

template <class Backend>
class WideRegistryContract : public Contract<Backend> {
 protected:
  RegKey Create(const std::u16string& path, std::uint32_t access = kKeyAllAccess) {
    RegKey key = kPoison;
    EXPECT_EQ(this->backend.wideRegistry().CreateKey(kCurrentUser, path, access, &key),
              kErrorSuccess);
    return key;
  }
};
TYPED_TEST_SUITE(WideRegistryContract, ContractBackends);

TYPED_TEST(WideRegistryContract, CreateMakesTheWholePathAndOpensWhatExists) {
  auto& b = this->backend;
  auto& reg = b.wideRegistry();
  const RegKey created = this->Create(kBase + u"\\Halvorn\\Marrowind");
  reg.CloseKey(created);
  EXPECT_TRUE(b.KeyPresent(std::string(kScratchKey) + "\\Halvorn\\Marrowind"));

  const RegKey again = this->Create(kBase + u"\\HALVORN\\marrowind");
  reg.CloseKey(again);

  RegKey opened = kPoison;
  EXPECT_EQ(reg.OpenKey(kCurrentUser, kBase + u"\\Halvorn", kKeyRead, &opened), kErrorSuccess);
  reg.CloseKey(opened);

  RegKey missing = kPoison;
  EXPECT_EQ(reg.OpenKey(kCurrentUser, kBase + u"\\Nope", kKeyRead, &missing), kErrorFileNotFound);
  EXPECT_EQ(missing, kPoison);
  EXPECT_FALSE(b.KeyPresent(std::string(kScratchKey) + "\\Nope"));
}

TYPED_TEST(WideRegistryContract, PathsWithALeadingBackslashAreRefused) {
  auto& reg = this->backend.wideRegistry();
  RegKey key = kPoison;
  EXPECT_EQ(reg.OpenKey(kCurrentUser, u"\\" + kBase, kKeyRead, &key), kErrorBadPathname);
  EXPECT_EQ(reg.CreateKey(kCurrentUser, u"\\" + kBase + u"\\X", kKeyAllAccess, &key),
            kErrorBadPathname);
  EXPECT_EQ(reg.DeleteKey(kCurrentUser, u"\\" + kBase), kErrorBadPathname);
  EXPECT_EQ(key, kPoison);
}

TYPED_TEST(WideRegistryContract, QueryValueFollowsTheBufferRules) {
  auto& reg = this->backend.wideRegistry();
  const RegKey key = this->Create(kBase + u"\\Values");
  const std::uint8_t path[] = {'E', 0, ':', 0, '\\', 0, 'x', 0, 0, 0};
  ASSERT_EQ(reg.SetValue(key, u"Threats", kRegBinary, path, sizeof path), kErrorSuccess);

  std::uint32_t type = kPoison;
  std::uint32_t size = kPoison;
  EXPECT_EQ(reg.QueryValue(key, u"threats", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(size, sizeof path);

  std::uint8_t small[4];
  size = sizeof small;
  EXPECT_EQ(reg.QueryValue(key, u"Threats", nullptr, small, &size), kErrorMoreData);
  EXPECT_EQ(size, sizeof path);

  std::uint8_t exact[sizeof path];
  std::fill(std::begin(exact), std::end(exact), 0xAA);
  size = sizeof exact;
  type = kPoison;
  EXPECT_EQ(reg.QueryValue(key, u"Threats", &type, exact, &size), kErrorSuccess);
  EXPECT_EQ(size, sizeof path);
  EXPECT_EQ(type, kRegBinary);
  EXPECT_TRUE(std::equal(std::begin(path), std::end(path), exact));

  EXPECT_EQ(reg.QueryValue(key, u"Threats", &type, exact, nullptr), kErrorInvalidParameter);

  type = kPoison;
  size = kPoison;
  EXPECT_EQ(reg.QueryValue(key, u"Missing", &type, nullptr, &size), kErrorFileNotFound);
  EXPECT_EQ(reg.QueryValue(key, u"", &type, nullptr, &size), kErrorFileNotFound);

  const std::vector<std::uint8_t> text = StringData(u"C:\\Marrowind\\mw.exe");
  ASSERT_EQ(reg.SetValue(key, u"", kRegSz, text.data(), static_cast<std::uint32_t>(text.size())),
            kErrorSuccess);
  size = 0;
  EXPECT_EQ(reg.QueryValue(key, u"", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, text.size());
  reg.CloseKey(key);
}

TYPED_TEST(WideRegistryContract, DeleteValueReportsAMissingValue) {
  auto& reg = this->backend.wideRegistry();
  const RegKey key = this->Create(kBase + u"\\Values");
  const std::uint8_t one[] = {1, 0, 0, 0};
  ASSERT_EQ(reg.SetValue(key, u"v", kRegDword, one, sizeof one), kErrorSuccess);
  EXPECT_EQ(reg.DeleteValue(key, u"V"), kErrorSuccess);
  EXPECT_EQ(reg.DeleteValue(key, u"v"), kErrorFileNotFound);
  std::uint32_t size = 0;
  EXPECT_EQ(reg.QueryValue(key, u"v", nullptr, nullptr, &size), kErrorFileNotFound);
  reg.CloseKey(key);
}

TYPED_TEST(WideRegistryContract, DeleteKeyAndEnumKey) {
  auto& b = this->backend;
  auto& reg = b.wideRegistry();
  reg.CloseKey(this->Create(kBase + u"\\Tree\\Leaf"));
  reg.CloseKey(this->Create(kBase + u"\\Tree\\Branch\\Twig"));

  const RegKey tree = this->Create(kBase + u"\\Tree", kKeyRead);
  std::set<std::u16string> names;
  std::u16string name;
  std::uint32_t index = 0;
  std::int32_t status;
  while ((status = reg.EnumKey(tree, index, &name)) == kErrorSuccess) {
    names.insert(name);
    ++index;
  }
  EXPECT_EQ(status, kErrorNoMoreItems);
  EXPECT_EQ(names, (std::set<std::u16string>{u"Leaf", u"Branch"}));

  EXPECT_EQ(reg.DeleteKey(tree, u"Branch"), kErrorAccessDenied);
  EXPECT_EQ(reg.DeleteKey(tree, u"Branch\\Twig"), kErrorSuccess);
  EXPECT_EQ(reg.DeleteKey(tree, u"Branch"), kErrorSuccess);
  EXPECT_EQ(reg.DeleteKey(tree, u"Branch"), kErrorFileNotFound);
  reg.CloseKey(tree);
  EXPECT_TRUE(b.KeyPresent(std::string(kScratchKey) + "\\Tree\\Leaf"));
  EXPECT_FALSE(b.KeyPresent(std::string(kScratchKey) + "\\Tree\\Branch"));
}

// What a copy of a key tree reads: every value with its exact name, type
// and bytes, odd types and empty data included.
TYPED_TEST(WideRegistryContract, EnumValueGivesEveryValueAsStored) {
  auto& reg = this->backend.wideRegistry();
  using Value = std::tuple<std::u16string, std::uint32_t, std::vector<std::uint8_t>>;
  const std::set<Value> seeded = {
      {u"", kRegSz, {'d', 0, 0, 0}},
      {u"ImagePath", kRegExpandSz, {'x', 0}},  // no terminator
      {u"Start", kRegDword, {1, 0, 0, 0}},
      {u"Blob", kRegBinary, std::vector<std::uint8_t>(5000, 0xA5)},
      {u"None", 0, {}},
      {u"Odd type", 0x12345678, {9}},
      {u"Ключ", kRegSz, {}},
  };
  const RegKey key = this->Create(kBase + u"\\Values");
  for (const auto& [name, type, data] : seeded) {
    ASSERT_EQ(reg.SetValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size())),
              kErrorSuccess);
  }
  reg.CloseKey(key);
  const RegKey read = this->Create(kBase + u"\\Values", kKeyRead);
  std::set<Value> found;
  std::int32_t status = kErrorSuccess;
  for (std::uint32_t index = 0; status == kErrorSuccess; ++index) {
    std::u16string name = u"poison";
    std::uint32_t type = kPoison;
    std::vector<std::uint8_t> data = {0xEE};
    status = reg.EnumValue(read, index, &name, &type, &data);
    if (status == kErrorSuccess) found.emplace(name, type, data);
  }
  EXPECT_EQ(status, kErrorNoMoreItems);
  EXPECT_EQ(found, seeded);
  reg.CloseKey(read);
}

TYPED_TEST(WideRegistryContract, AHandleAllowsOnlyWhatItWasOpenedFor) {
  auto& reg = this->backend.wideRegistry();
  reg.CloseKey(this->Create(kBase + u"\\Rights"));
  const std::uint8_t one[] = {1, 0, 0, 0};

  RegKey reader = kPoison;
  ASSERT_EQ(reg.OpenKey(kCurrentUser, kBase + u"\\Rights", kKeyRead, &reader), kErrorSuccess);
  EXPECT_EQ(reg.SetValue(reader, u"v", kRegDword, one, sizeof one), kErrorAccessDenied);
  reg.CloseKey(reader);

  RegKey writer = kPoison;
  ASSERT_EQ(reg.OpenKey(kCurrentUser, kBase + u"\\Rights", kKeySetValue, &writer), kErrorSuccess);
  EXPECT_EQ(reg.SetValue(writer, u"v", kRegDword, one, sizeof one), kErrorSuccess);
  std::uint32_t size = sizeof one;
  std::uint8_t data[4];
  EXPECT_EQ(reg.QueryValue(writer, u"v", nullptr, data, &size), kErrorAccessDenied);
  reg.CloseKey(writer);
}

TYPED_TEST(WideRegistryContract, AHandleToADeletedKeyFails) {
  auto& reg = this->backend.wideRegistry();
  const RegKey gone = this->Create(kBase + u"\\Gone");
  EXPECT_EQ(reg.DeleteKey(kCurrentUser, kBase + u"\\Gone"), kErrorSuccess);
  std::uint32_t size = 0;
  EXPECT_EQ(reg.QueryValue(gone, u"v", nullptr, nullptr, &size), kErrorKeyDeleted);
  reg.CloseKey(gone);
}

TYPED_TEST(WideRegistryContract, DeleteKeyFollowsALinkAndDeleteKeyNoFollowDoesNot) {
  auto& b = this->backend;
  auto& reg = b.wideRegistry();
  const std::string scratch = kScratchKey;
  const std::string user = b.UserRoot() + "\\" + scratch;
  reg.CloseKey(this->Create(kBase + u"\\Leaf"));
  reg.CloseKey(this->Create(kBase + u"\\Tree\\Deep"));
  b.SeedLink(scratch + "\\Svc\\ToLeaf", user + "\\Leaf");
  b.SeedLink(scratch + "\\Svc\\ToTree", user + "\\Tree");
  b.SeedLink(scratch + "\\A", user + "\\B");
  b.SeedLink(scratch + "\\B", user + "\\A");
  const RegKey svc = this->Create(kBase + u"\\Svc");

  // RegDeleteKeyW deletes what the link leads to, if it can.
  EXPECT_EQ(reg.DeleteKey(svc, u"ToTree"), kErrorAccessDenied);
  EXPECT_EQ(reg.DeleteKey(svc, u"ToLeaf"), kErrorSuccess);
  EXPECT_FALSE(b.KeyPresent(scratch + "\\Leaf"));
  EXPECT_TRUE(b.KeyPresent(scratch + "\\Svc\\ToLeaf"));

  RegKey key = kPoison;
  EXPECT_EQ(reg.OpenKey(svc, u"ToLeaf", kKeyRead, &key), kErrorFileNotFound);
  EXPECT_EQ(reg.OpenKey(kCurrentUser, kBase + u"\\A", kKeyRead, &key), kErrorInvalidParameter);
  ASSERT_EQ(reg.OpenKeyNoFollow(svc, u"ToTree", kKeyAllAccess, &key), kErrorSuccess);
  // A link holds its target and nothing else; keys made through it land in the target.
  const std::uint8_t one[] = {1, 0, 0, 0};
  EXPECT_EQ(reg.SetValue(key, u"Other", kRegDword, one, sizeof one), kErrorAccessDenied);
  reg.CloseKey(key);
  ASSERT_EQ(reg.CreateKey(svc, u"ToTree\\Made", kKeyAllAccess, &key), kErrorSuccess);
  reg.CloseKey(key);
  EXPECT_TRUE(b.KeyPresent(scratch + "\\Tree\\Made"));

  EXPECT_EQ(reg.DeleteKeyNoFollow(svc, u"ToTree"), kErrorSuccess);
  EXPECT_EQ(reg.DeleteKeyNoFollow(svc, u"ToLeaf"), kErrorSuccess);
  EXPECT_EQ(reg.DeleteKeyNoFollow(svc, u"ToLeaf"), kErrorFileNotFound);
  EXPECT_EQ(reg.DeleteKeyNoFollow(kCurrentUser, kBase + u"\\Tree"), kErrorAccessDenied);
  reg.CloseKey(svc);
  EXPECT_TRUE(b.KeyPresent(scratch + "\\Tree\\Deep"));
  EXPECT_TRUE(b.KeyPresent(scratch + "\\Tree\\Made"));
}

}  // namespace
}  // namespace platform::tests
