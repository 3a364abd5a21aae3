// The scanner's registry operations, the same on every backend.

#include <set>

#include "platform/tests/backends.h"

namespace platform::tests {
namespace {

const std::string kBase = kScratchKey;

template <class Backend>
class RegistryContract : public Contract<Backend> {};
TYPED_TEST_SUITE(RegistryContract, ContractBackends);

TYPED_TEST(RegistryContract, OpensExistingKeysAndNeverCreates) {
  auto& b = this->backend;
  b.SeedKey(kBase + "\\Services\\MrxNet");
  auto& reg = b.registry();

  const auto key = reg.OpenKey(kCurrentUser, kBase + "\\services\\MRXNET");
  ASSERT_TRUE(key.has_value());
  reg.CloseKey(*key);

  EXPECT_FALSE(reg.OpenKey(kCurrentUser, kBase + "\\Services\\MrxCls").has_value());
  EXPECT_FALSE(reg.KeyExists(kCurrentUser, kBase + "\\Services\\MrxCls"));
  EXPECT_FALSE(b.KeyPresent(kBase + "\\Services\\MrxCls"));
  EXPECT_TRUE(reg.KeyExists(kCurrentUser, kBase + "\\Services\\MrxNet"));
}

TYPED_TEST(RegistryContract, LeadingBackslashStartsFromTheRoot) {
  auto& b = this->backend;
  b.SeedKey(kBase + "\\Services\\MrxNet");
  b.SeedKey(kBase + "\\Other");
  auto& reg = b.registry();

  EXPECT_TRUE(reg.KeyExists(kCurrentUser, "\\" + kBase + "\\Services\\MrxNet"));

  // Below an open key, the leading backslash still means the root.
  const auto other = reg.OpenKey(kCurrentUser, kBase + "\\Other");
  ASSERT_TRUE(other.has_value());
  const auto fromRoot = reg.OpenKey(*other, "\\" + kBase + "\\Services");
  ASSERT_TRUE(fromRoot.has_value());
  const auto child = reg.OpenKey(*fromRoot, "MrxNet");
  EXPECT_TRUE(child.has_value());
  if (child) reg.CloseKey(*child);
  reg.CloseKey(*fromRoot);
  reg.CloseKey(*other);
}

TYPED_TEST(RegistryContract, ValueExistsIgnoresTheCaseOfTheName) {
  auto& b = this->backend;
  b.SeedValue(kBase + "\\S", "ImagePath", kRegSz, StringData(u"x"));
  auto& reg = b.registry();
  const auto key = reg.OpenKey(kCurrentUser, kBase + "\\S");
  ASSERT_TRUE(key.has_value());
  EXPECT_TRUE(reg.ValueExists(*key, "IMAGEPATH"));
  EXPECT_FALSE(reg.ValueExists(*key, "Image"));
  reg.CloseKey(*key);
}

TYPED_TEST(RegistryContract, ReadStringTakesStringTypesUpToTheFirstNul) {
  struct Case {
    const char* name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::optional<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"sz", kRegSz, StringData(u"\\??\\C:\\x.sys"), "\\??\\C:\\x.sys"},
      {"expand", kRegExpandSz, StringData(u"%SystemRoot%\\x.sys"), "%SystemRoot%\\x.sys"},
      {"empty", kRegSz, {}, ""},
      {"embedded nul", kRegSz, StringData(std::u16string(u"ab\0cd", 5)), "ab"},
      {"unterminated", kRegSz, {'h', 0, 'i', 0}, "hi"},
      {"greek", kRegSz, StringData(u"Δοκιμή"), "Δοκιμή"},
      {"dword", kRegDword, {1, 0, 0, 0}, std::nullopt},
      {"binary", kRegBinary, {'a', 0, 0, 0}, std::nullopt},
  };
  auto& b = this->backend;
  for (const auto& c : cases) b.SeedValue(kBase + "\\S", c.name, c.type, c.data);
  auto& reg = b.registry();
  const auto key = reg.OpenKey(kCurrentUser, kBase + "\\S");
  ASSERT_TRUE(key.has_value());
  for (const auto& c : cases) EXPECT_EQ(reg.ReadString(*key, c.name), c.expected) << c.name;
  EXPECT_EQ(reg.ReadString(*key, "missing"), std::nullopt);
  reg.CloseKey(*key);
}

TYPED_TEST(RegistryContract, EnumeratesAndDeletesSubkeysOneByOne) {
  auto& b = this->backend;
  b.SeedKey(kBase + "\\Parent\\Alpha");
  b.SeedKey(kBase + "\\Parent\\Longer Name\\Deep");
  auto& reg = b.registry();
  const auto parent = reg.OpenKey(kCurrentUser, kBase + "\\Parent");
  ASSERT_TRUE(parent.has_value());

  const auto info = reg.QueryKeyInfo(*parent);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->subkeyCount, 2u);
  EXPECT_EQ(info->maxSubkeyNameLength, 11u);

  std::set<std::string> names;
  for (std::uint32_t i = 0; i < info->subkeyCount; ++i) {
    const auto name = reg.EnumKey(*parent, i, info->maxSubkeyNameLength + 1);
    ASSERT_TRUE(name.has_value()) << i;
    names.insert(*name);
  }
  EXPECT_EQ(names, (std::set<std::string>{"Alpha", "Longer Name"}));
  EXPECT_FALSE(reg.EnumKey(*parent, 2, 64).has_value());

  // A buffer without room for the terminator refuses the longest name only.
  std::set<std::string> tight;
  for (std::uint32_t i = 0; i < 2; ++i) {
    if (const auto name = reg.EnumKey(*parent, i, 11)) tight.insert(*name);
  }
  EXPECT_EQ(tight, (std::set<std::string>{"Alpha"}));

  EXPECT_FALSE(reg.DeleteKeyNoFollow(*parent, "Longer Name"));
  EXPECT_TRUE(b.KeyPresent(kBase + "\\Parent\\Longer Name"));
  EXPECT_TRUE(reg.DeleteKeyNoFollow(*parent, "Longer Name\\Deep"));
  EXPECT_TRUE(reg.DeleteKeyNoFollow(*parent, "longer name"));
  EXPECT_TRUE(reg.DeleteKeyNoFollow(*parent, "Alpha"));
  EXPECT_FALSE(reg.DeleteKeyNoFollow(*parent, "Alpha"));
  EXPECT_EQ(reg.QueryKeyInfo(*parent)->subkeyCount, 0u);
  reg.CloseKey(*parent);

  EXPECT_TRUE(reg.DeleteKeyNoFollow(kCurrentUser, kBase + "\\Parent"));
  EXPECT_FALSE(b.KeyPresent(kBase + "\\Parent"));
}

TYPED_TEST(RegistryContract, DeleteKeyRefusesALeadingBackslash) {
  auto& b = this->backend;
  b.SeedKey(kBase + "\\Leaf");
  EXPECT_FALSE(b.registry().DeleteKeyNoFollow(kCurrentUser, "\\" + kBase + "\\Leaf"));
  EXPECT_TRUE(b.KeyPresent(kBase + "\\Leaf"));
}

// Svc\Lnk is a link to Victim, which holds Deep.
template <class Backend>
void SeedLinkedService(Backend& b) {
  b.SeedValue(kBase + "\\Victim\\Deep", "Data", kRegSz, StringData(u"kept"));
  b.SeedLink(kBase + "\\Svc\\Lnk", b.UserRoot() + "\\" + kBase + "\\Victim");
}

TYPED_TEST(RegistryContract, LinksAreFollowedUnlessTheLastPartIsOpenedItself) {
  auto& b = this->backend;
  SeedLinkedService(b);
  auto& reg = b.registry();

  const auto followed = reg.OpenKey(kCurrentUser, kBase + "\\Svc\\Lnk");
  ASSERT_TRUE(followed.has_value());
  EXPECT_EQ(reg.QueryKeyInfo(*followed)->subkeyCount, 1u) << "the target's Deep";
  EXPECT_EQ(reg.EnumKey(*followed, 0, 64), "Deep");
  reg.CloseKey(*followed);

  const auto itself = reg.OpenKeyNoFollow(kCurrentUser, kBase + "\\Svc\\Lnk");
  ASSERT_TRUE(itself.has_value());
  EXPECT_EQ(reg.QueryKeyInfo(*itself)->subkeyCount, 0u) << "a link lists nothing of its own";
  reg.CloseKey(*itself);

  // Before the last part a link is always followed.
  for (const bool follow : {true, false}) {
    const std::string deep = kBase + "\\Svc\\lnk\\DEEP";
    const auto key = follow ? reg.OpenKey(kCurrentUser, deep) : reg.OpenKeyNoFollow(kCurrentUser, deep);
    ASSERT_TRUE(key.has_value()) << follow;
    EXPECT_EQ(reg.ReadString(*key, "Data"), "kept");
    reg.CloseKey(*key);
  }

  const auto svc = reg.OpenKey(kCurrentUser, kBase + "\\Svc");
  ASSERT_TRUE(svc.has_value());
  EXPECT_EQ(reg.EnumKey(*svc, 0, 64), "Lnk");
  // Deleting the link leaves its target whole.
  EXPECT_TRUE(reg.DeleteKeyNoFollow(*svc, "Lnk"));
  EXPECT_EQ(reg.QueryKeyInfo(*svc)->subkeyCount, 0u);
  EXPECT_FALSE(reg.DeleteKeyNoFollow(*svc, "Lnk"));
  reg.CloseKey(*svc);
  EXPECT_TRUE(b.KeyPresent(kBase + "\\Victim\\Deep"));
}

TYPED_TEST(RegistryContract, LinksThatLeadNowhereOpenOnlyThemselves) {
  auto& b = this->backend;
  const std::string user = b.UserRoot() + "\\" + kBase;
  b.SeedKey(kBase + "\\Victim\\Deep");
  b.SeedLink(kBase + "\\Dangling", user + "\\Missing");
  b.SeedLink(kBase + "\\Relative", kBase + "\\Victim");
  b.SeedLink(kBase + "\\A", user + "\\B");
  b.SeedLink(kBase + "\\B", user + "\\A");
  b.SeedLink(kBase + "\\Victim\\Loop", user + "\\VICTIM");
  auto& reg = b.registry();

  for (const char* name : {"Dangling", "Relative", "A", "B"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, kBase + "\\" + name));
    const auto itself = reg.OpenKeyNoFollow(kCurrentUser, kBase + "\\" + name);
    ASSERT_TRUE(itself.has_value());
    reg.CloseKey(*itself);
    EXPECT_TRUE(reg.DeleteKeyNoFollow(kCurrentUser, kBase + "\\" + name));
    EXPECT_FALSE(b.KeyPresent(kBase + "\\" + name));
  }
  // A link back to its own parent can be walked round and round.
  EXPECT_TRUE(reg.KeyExists(kCurrentUser, kBase + "\\Victim\\Loop\\Loop\\Loop\\Deep"));
}

}  // namespace
}  // namespace platform::tests
