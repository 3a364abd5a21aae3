#include "quarantine/quarantine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/memory/memory_machine.h"

namespace quarantine {
namespace {

using platform::kAttributeHidden;
using platform::kAttributeReadOnly;
using platform::kAttributeSystem;
using platform::kLocalMachine;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kFolder = "C:\\ProgramData\\Quorvex Remover\\Quarantine";
constexpr const char* kNet = "SYSTEM\\CURRENTCONTROLSET\\SERVICES\\MRXNET";

// The lines in which two snapshots differ, so a failure shows only those.
std::string Difference(const std::string& actual, const std::string& expected) {
  const auto lines = [](const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = text.find('\n', at);
      out.push_back(text.substr(at, std::min<std::size_t>(end - at, 300)));
      at = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
  };
  const auto a = lines(actual), e = lines(expected);
  std::string diff;
  for (const auto& line : a) {
    if (std::find(e.begin(), e.end(), line) == e.end()) diff += "+ " + line + "\n";
  }
  for (const auto& line : e) {
    if (std::find(a.begin(), a.end(), line) == a.end()) diff += "- " + line + "\n";
  }
  return diff;
}

class QuarantineTest : public ::testing::Test {
 protected:
  std::string ItemPath(const std::string& id) { return std::string(kFolder) + "\\" + id + ".qri"; }
  // The stored bytes of an item, read back.
  std::vector<std::uint8_t> ItemBytes(const std::string& id) {
    auto reader = memory.files.OpenReader(ItemPath(id));
    std::vector<std::uint8_t> bytes(reader->Size());
    reader->Read(bytes.data(), bytes.size());
    return bytes;
  }
  void ReplaceItem(const std::string& id, const std::vector<std::uint8_t>& bytes) {
    memory.files.AddFile(ItemPath(id), bytes);
  }

  platform::memory::MemoryMachine memory;
  Quarantine quarantine{memory.machine()};
};

TEST_F(QuarantineTest, AFalsePositiveComesBackByteForByteWithItsAttributes) {
  std::vector<std::uint8_t> content = {'M', 'Z'};
  for (int i = 0; i < 200000; ++i) content.push_back(static_cast<std::uint8_t>(i * 7));
  constexpr auto kSticky = kAttributeReadOnly | kAttributeHidden | kAttributeSystem;
  memory.files.AddFile("E:\\Setup Ξ.TMP", content, kSticky);
  memory.files.AddFile("E:\\beside.txt", {1, 2, 3});
  memory.files.AddDirectory(kFolder);
  const std::string before = memory.Snapshot();
  memory.clock.Set(1796900000);

  const scanner::Kept kept = quarantine.KeepFile("E:\\Setup Ξ.TMP");
  ASSERT_EQ(kept.id, "1") << kept.reason;
  const auto stored = ItemBytes("1");
  EXPECT_EQ(std::search(stored.begin(), stored.end(), content.begin() + 2, content.begin() + 40),
            stored.end())
      << "the stored copy holds nothing of the file in plain";
  EXPECT_THAT(memory.files.ListDirectory(std::string(kFolder) + "\\*.*").size(), 3u)
      << "., .. and the item, no temporary file";

  const Listing listing = quarantine.List();
  ASSERT_EQ(listing.items.size(), 1u);
  EXPECT_THAT(listing.damaged, IsEmpty());
  const ItemInfo& item = listing.items[0];
  EXPECT_EQ(item.originalPath, "E:\\Setup Ξ.TMP");
  EXPECT_EQ(item.kind, ItemKind::File);
  EXPECT_EQ(item.size, content.size());
  EXPECT_EQ(item.time, 1796900000);
  EXPECT_EQ(item.attributes, kSticky);
  Sha256 sha;
  sha.Update(content.data(), content.size());
  EXPECT_EQ(item.sha256, sha.Finish());

  memory.files.SetAttributes("E:\\Setup Ξ.TMP", 0);
  ASSERT_TRUE(memory.files.RemoveFile("E:\\Setup Ξ.TMP"));
  EXPECT_EQ(quarantine.Restore("1", false), std::nullopt);
  EXPECT_EQ(Difference(memory.Snapshot(), before), "") << "a restored item leaves the quarantine";
  EXPECT_THAT(quarantine.List().items, IsEmpty());
}

TEST_F(QuarantineTest, AServiceTreeComesBackExactlyValuesOfEveryTypeIncluded) {
  auto& registry = memory.registry;
  const std::string net = "System\\CurrentControlSet\\Services\\MrxNet";
  registry.SetString(kLocalMachine, net, "ImagePath", "\\??\\C:\\x.sys", platform::kRegExpandSz);
  registry.SetString(kLocalMachine, net, "", "default");
  registry.SetValue(kLocalMachine, net, "Start", platform::kRegDword, {1, 0, 0, 0});
  registry.SetValue(kLocalMachine, net, "Blob", platform::kRegBinary, {0, 0xFF, 0, 0x80});
  registry.SetValue(kLocalMachine, net, "Multi", 7, {'a', 0, 0, 0, 0, 0});
  registry.SetValue(kLocalMachine, net, "Big", 11, {1, 2, 3, 4, 5, 6, 7, 8});
  registry.SetValue(kLocalMachine, net, "None", 0, {});
  registry.SetValue(kLocalMachine, net, "Odd", 0x12345678, {9});
  registry.SetString(kLocalMachine, net + "\\Enum\\Root\\Ключ", "Deep", "x");
  registry.AddKey(kLocalMachine, net + "\\Security");
  registry.AddLink(kLocalMachine, net + "\\Elsewhere", "\\Registry\\Machine\\Software\\Victim");
  registry.SetString(kLocalMachine, "Software\\Victim", "Owner", "someone else");
  const std::string before = registry.Dump();

  const scanner::Kept kept =
      quarantine.KeepKey(std::string("HKLM\\") + kNet, kLocalMachine, std::string("\\") + kNet);
  ASSERT_TRUE(kept.id) << kept.reason;
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
  for (const char* key : {"\\Enum\\Root\\Ключ", "\\Enum\\Root", "\\Enum", "\\Security",
                          "\\Elsewhere", ""}) {
    ASSERT_TRUE(registry.DeleteKeyNoFollow(kLocalMachine, net + key)) << key;
  }

  EXPECT_EQ(quarantine.Restore(*kept.id, false), std::nullopt);
  // The link comes back as an ordinary key holding its target value: it
  // leads nowhere any more.
  std::string expected = before;
  const std::string link = "MrxNet\\Elsewhere [link]\n";
  expected.replace(expected.find(link), link.size(), "MrxNet\\Elsewhere\n");
  EXPECT_EQ(registry.Dump(), expected);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(QuarantineTest, RestoreRefusesToOverwriteUnlessForced) {
  memory.files.AddFile("E:\\x.tmp", {'o', 'l', 'd'});
  const auto fileId = quarantine.KeepFile("E:\\x.tmp").id;
  memory.registry.SetString(kLocalMachine, "Software\\K", "V", "old");
  const auto keyId = quarantine.KeepKey("HKLM\\SOFTWARE\\K", kLocalMachine, "\\SOFTWARE\\K").id;
  ASSERT_TRUE(fileId && keyId);
  memory.files.AddFile("E:\\x.tmp", {'n', 'e', 'w'}, kAttributeReadOnly | kAttributeHidden);
  memory.registry.SetString(kLocalMachine, "Software\\K", "V", "new");
  const std::string changed = memory.Snapshot();

  EXPECT_THAT(quarantine.Restore(*fileId, false).value_or(""), HasSubstr("/force"));
  EXPECT_THAT(quarantine.Restore(*keyId, false).value_or(""), HasSubstr("/force"));
  EXPECT_EQ(memory.Snapshot(), changed);

  EXPECT_EQ(quarantine.Restore(*fileId, true), std::nullopt);
  EXPECT_EQ(quarantine.Restore(*keyId, true), std::nullopt);
  auto reader = memory.files.OpenReader("E:\\x.tmp");
  std::vector<std::uint8_t> bytes(3);
  reader->Read(bytes.data(), 3);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(memory.files.Attributes("E:\\x.tmp"), platform::kAttributeArchive);
  EXPECT_EQ(memory.registry.ValueData(kLocalMachine, "Software\\K", "V"),
            (std::vector<std::uint8_t>{'o', 0, 'l', 0, 'd', 0, 0, 0}));
}

TEST_F(QuarantineTest, AFullDiskKeepsNothingAndLeavesNoHalfItem) {
  memory.files.AddFile("E:\\big.tmp", std::vector<std::uint8_t>(100000, 'M'));
  memory.files.AddDirectory(kFolder);
  memory.files.SetFreeSpace("C:", 50000);
  const std::string before = memory.Snapshot();
  const scanner::Kept kept = quarantine.KeepFile("E:\\big.tmp");
  EXPECT_EQ(kept.id, std::nullopt);
  EXPECT_THAT(kept.reason, HasSubstr("could not be written"));
  EXPECT_EQ(memory.Snapshot(), before);
}

TEST_F(QuarantineTest, ADamagedItemIsRejectedAndNothingIsWritten) {
  memory.files.AddFile("E:\\x.tmp", std::vector<std::uint8_t>(1000, 'x'));
  ASSERT_EQ(quarantine.KeepFile("E:\\x.tmp").id, "1");
  ASSERT_TRUE(memory.files.RemoveFile("E:\\x.tmp"));
  const auto good = ItemBytes("1");
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
  } kDamage[] = {
      {"payload byte flipped", [&] { auto b = good; b[100] ^= 1; return b; }()},
      {"cut short", {good.begin(), good.end() - 1}},
      {"grown", [&] { auto b = good; b.push_back(0); return b; }()},
      {"bad magic", [&] { auto b = good; b[0] = 'X'; return b; }()},
      {"path longer than the item", [&] { auto b = good; b[23] = 0x7F; return b; }()},
      {"empty", {}},
  };
  for (const auto& damage : kDamage) {
    SCOPED_TRACE(damage.name);
    ReplaceItem("1", damage.bytes);
    const std::string before = memory.Snapshot();
    EXPECT_THAT(quarantine.Restore("1", true).value_or(""), HasSubstr("damaged"));
    EXPECT_EQ(Difference(memory.Snapshot(), before), "");
  }
  ReplaceItem("1", {'j', 'u', 'n', 'k'});
  EXPECT_THAT(quarantine.List().damaged, ElementsAre("1"));
}

// An ordinary user may create folders in %ProgramData%. One made there
// first, or planted items in it, must never hold or give back findings.
TEST_F(QuarantineTest, AFolderAUserMadeFirstIsNeverUsed) {
  memory.files.AddUserDirectory("C:\\ProgramData\\Quorvex Remover");
  memory.files.AddDirectory(kFolder);
  memory.files.AddFile("E:\\x.tmp", {'M', 'Z'});
  memory.files.AddFile(ItemPath("1"), {'Q', 'R', 'Q', 'I'});
  const std::string before = memory.Snapshot();

  const scanner::Kept kept = quarantine.KeepFile("E:\\x.tmp");
  EXPECT_EQ(kept.id, std::nullopt);
  EXPECT_THAT(kept.reason, HasSubstr("not the administrators' own"));
  const Listing listing = quarantine.List();
  EXPECT_TRUE(listing.untrusted);
  EXPECT_THAT(listing.items, IsEmpty());
  EXPECT_THAT(listing.damaged, IsEmpty());
  EXPECT_THAT(quarantine.Restore("1", true).value_or(""), HasSubstr("not the administrators' own"));
  EXPECT_THAT(quarantine.Purge("1").value_or(""), HasSubstr("not the administrators' own"));
  EXPECT_EQ(memory.Snapshot(), before);
}

TEST_F(QuarantineTest, UnknownIdsChangeNothing) {
  memory.files.AddFile("E:\\x.tmp", {1});
  ASSERT_EQ(quarantine.KeepFile("E:\\x.tmp").id, "1");
  const std::string before = memory.Snapshot();
  for (const char* id : {"2", "", "..\\1", "1.qri", "01x", "99999999999"}) {
    EXPECT_THAT(quarantine.Restore(id, true).value_or(""), HasSubstr("no quarantine item")) << id;
    EXPECT_THAT(quarantine.Purge(id).value_or(""), HasSubstr("no quarantine item")) << id;
  }
  EXPECT_EQ(memory.Snapshot(), before);
  EXPECT_EQ(quarantine.Purge("1"), std::nullopt);
  EXPECT_THAT(quarantine.List().items, IsEmpty());
}

}  // namespace
}  // namespace quarantine
