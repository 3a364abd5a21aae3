#include "iconguard/core/threat_response.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/memory/memory_machine.h"
#include "platform/memory/memory_wide_shell.h"

namespace iconguard {
namespace {

using platform::kCurrentUser;
using platform::kLocalMachine;
using platform::memory::KeyAccess;
using platform::memory::MemoryRegistry;
using platform::memory::MemoryWideShell;
using Call = MemoryWideShell::Call;

constexpr char kMarrowind[] = "Software\\Halvorn\\Marrowind";
constexpr char kThreats[] = "Software\\Halvorn\\Marrowind\\Threats";
const std::u16string kPath = u"R:\\Documents\\café.lnk";
// MD5 of the path's code page 437 bytes ("caf\x82.lnk").
constexpr char kPathName[] = "96559b8538dff188ddaf5e419a110620";
const std::u16string kWarning =
    u"Blocked malware infect attack against your computer!\nInfected Shortcut:\n"
    u"R:\\Documents\\café.lnk\nDelete infection and download Marrowind?\r\n";

std::vector<std::uint8_t> Utf16(const std::u16string& text) {
  std::vector<std::uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

Call Message(const std::u16string& text) {
  Call call;
  call.kind = Call::Kind::Message;
  call.text = text;
  call.caption = u"Warning!";
  call.style = 0x1014;
  return call;
}

Call Launch(const std::u16string& file) {
  Call call;
  call.kind = Call::Kind::Launch;
  call.verb = u"open";
  call.file = file;
  call.show = 5;
  return call;
}

Call Remove(const std::u16string& path) {
  Call call;
  call.kind = Call::Kind::Remove;
  call.file = path;
  return call;
}

std::size_t CountThreatValues(const MemoryRegistry& registry) {
  const std::string dump = registry.Dump();
  const std::string marker = std::string("\\Threats : ");
  std::size_t count = 0;
  for (auto at = dump.find(marker); at != std::string::npos; at = dump.find(marker, at + 1)) {
    ++count;
  }
  return count;
}

class ThreatResponse : public testing::Test {
 protected:
  // A companion path of `characters` characters stored with its terminator.
  void RegisterMarrowind(std::size_t characters, std::uint32_t type = platform::kRegSz) {
    std::u16string path = u"C:\\Marrowind\\";
    path.resize(characters, u'm');
    registry.SetValue(kLocalMachine, kMarrowind, "", type, Utf16(path + u'\0'));
    companion = path;
  }

  std::optional<std::vector<std::uint8_t>> Record(const char* name = kPathName) const {
    return registry.ValueData(kCurrentUser, kThreats, name);
  }

  MemoryRegistry registry;
  MemoryWideShell shell;
  GuardPlatform platform{registry, shell};
  std::u16string companion;
};

TEST_F(ThreatResponse, ValueNameIsTheDigestOfTheOemForm) {
  EXPECT_EQ(MakeThreatValueName(platform, kPath), kPathName);
  EXPECT_EQ(MakeThreatValueName(platform, u"R:\\x.lnk"), "d47c5fb779eb801d9e53ead4cbe3d879");
  // U+2019 is not in code page 437: the system's best fit turns it into an
  // apostrophe, so this is the MD5 of "R:\Bob's.lnk".
  EXPECT_EQ(MakeThreatValueName(platform, u"R:\\Bob\u2019s.lnk"),
            "9af46a7e2a01fb7ff445ffc527aac5bc");
}

TEST_F(ThreatResponse, PathsWithEqualOemFormsShareOneRecord) {
  // Neither ideograph exists in code page 437: both become '?'.
  const std::u16string first = u"R:\\\u4e2d.lnk";
  const std::u16string second = u"R:\\\u4e8c.lnk";
  EXPECT_EQ(MakeThreatValueName(platform, first), MakeThreatValueName(platform, second));

  ASSERT_TRUE(RecordThreat(platform, first.c_str()));
  ASSERT_TRUE(RecordThreat(platform, second.c_str()));
  EXPECT_EQ(CountThreatValues(registry), 1u);
  EXPECT_EQ(Record(MakeThreatValueName(platform, first).c_str()), Utf16(second));
}

TEST_F(ThreatResponse, OemFormIsCutToTheBuffer) {
  // Beyond 259 bytes the OEM form no longer counts towards the name.
  const std::u16string base = u"R:\\" + std::u16string(256, u'd');
  EXPECT_EQ(MakeThreatValueName(platform, base + u"\\one.lnk"),
            MakeThreatValueName(platform, base + u"\\two.lnk"));
  EXPECT_EQ(MakeThreatValueName(platform, base + u"\\one.lnk"), MakeThreatValueName(platform, base));
  EXPECT_NE(MakeThreatValueName(platform, base.substr(0, 258)), MakeThreatValueName(platform, base));
}

TEST_F(ThreatResponse, RecordHoldsThePathWithoutTerminator) {
  ASSERT_TRUE(RecordThreat(platform, kPath.c_str()));
  EXPECT_EQ(Record(), Utf16(kPath));
  EXPECT_EQ(registry.ValueType(kCurrentUser, kThreats, kPathName), platform::kRegBinary);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(ThreatResponse, SamePathTwiceKeepsOneValue) {
  ASSERT_TRUE(RecordThreat(platform, kPath.c_str()));
  ASSERT_TRUE(RecordThreat(platform, kPath.c_str()));
  EXPECT_EQ(CountThreatValues(registry), 1u);
  EXPECT_EQ(Record(), Utf16(kPath));
}

TEST_F(ThreatResponse, RecordFailures) {
  EXPECT_FALSE(RecordThreat(platform, nullptr));
  EXPECT_FALSE(registry.HasKey(kCurrentUser, kMarrowind));

  const struct {
    const char* key;
    KeyAccess access;
  } cases[] = {
      {"Software\\Halvorn", KeyAccess::ReadOnly},
      {kMarrowind, KeyAccess::ReadOnly},
      {kThreats, KeyAccess::Denied},
  };
  for (const auto& c : cases) {
    MemoryRegistry locked;
    locked.SetKeyAccess(kCurrentUser, c.key, c.access);
    GuardPlatform lockedPlatform{locked, shell};
    EXPECT_FALSE(RecordThreat(lockedPlatform, kPath.c_str())) << c.key;
    EXPECT_EQ(locked.OpenHandleCount(), 0u) << c.key;
  }
}

TEST_F(ThreatResponse, CompanionPathAcceptance) {
  // Sizes are in bytes with the terminator: 128 characters make 258 bytes.
  const struct {
    std::size_t characters;
    std::uint32_t type;
    bool accepted;
  } cases[] = {
      {1, platform::kRegSz, true},
      {128, platform::kRegSz, true},
      {129, platform::kRegSz, false},
      {200, platform::kRegSz, false},
      {20, platform::kRegExpandSz, false},
  };
  for (const auto& c : cases) {
    RegisterMarrowind(c.characters, c.type);
    std::u16string buffer = u"junk";
    EXPECT_EQ(QueryMarrowindPath(platform, buffer), c.accepted) << c.characters;
    if (c.accepted) {
      EXPECT_EQ(buffer, companion);
    }
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
  }
}

TEST_F(ThreatResponse, CompanionPathOddData) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> data;
    bool accepted;
    std::u16string path;
  } cases[] = {
      {"no terminator", Utf16(u"run.exe"), true, u"run.exe"},
      {"odd size", {'a', 0, 'b', 0, 'c'}, true, u"ab"},
      {"empty data", {}, false, u""},
      {"only a terminator", {0, 0}, false, u""},
  };
  for (const auto& c : cases) {
    registry.SetValue(kLocalMachine, kMarrowind, "", platform::kRegSz, c.data);
    std::u16string buffer;
    EXPECT_EQ(QueryMarrowindPath(platform, buffer), c.accepted) << c.name;
    EXPECT_EQ(buffer, c.path) << c.name;
  }
}

TEST_F(ThreatResponse, NoCompanionRegistered) {
  std::u16string buffer;
  EXPECT_FALSE(QueryMarrowindPath(platform, buffer));
  registry.AddKey(kLocalMachine, kMarrowind);
  EXPECT_FALSE(QueryMarrowindPath(platform, buffer));
}

TEST_F(ThreatResponse, InstalledCompanionIsLaunched) {
  RegisterMarrowind(128);
  ReportBlockedShortcut(platform, kPath);
  EXPECT_EQ(shell.Calls(), std::vector<Call>{Launch(companion)});
  EXPECT_EQ(Record(), Utf16(kPath));
}

TEST_F(ThreatResponse, UnacceptableCompanionGivesTheWarning) {
  const struct {
    std::size_t characters;
    std::uint32_t type;
  } cases[] = {{129, platform::kRegSz}, {20, platform::kRegExpandSz}};
  for (const auto& c : cases) {
    MemoryWideShell freshShell;
    GuardPlatform freshPlatform{registry, freshShell};
    RegisterMarrowind(c.characters, c.type);
    freshShell.QueueAnswer(platform::kIdNo);
    ReportBlockedShortcut(freshPlatform, kPath);
    EXPECT_EQ(freshShell.Calls(), std::vector<Call>{Message(kWarning)}) << c.characters;
  }
}

TEST_F(ThreatResponse, AnswerNoKeepsTheFile) {
  shell.QueueAnswer(platform::kIdNo);
  ReportBlockedShortcut(platform, kPath);
  EXPECT_EQ(shell.Calls(), std::vector<Call>{Message(kWarning)});
  EXPECT_EQ(Record(), Utf16(kPath));
}

// Records whether the threat was already written when the file went.
class OrderCheckingShell : public MemoryWideShell {
 public:
  explicit OrderCheckingShell(const MemoryRegistry& registry) : registry_(registry) {}
  bool RemoveFile(const std::u16string& path) override {
    recordedBeforeRemoval = registry_.ValueData(kCurrentUser, kThreats, kPathName).has_value();
    return MemoryWideShell::RemoveFile(path);
  }
  bool recordedBeforeRemoval = false;

 private:
  const MemoryRegistry& registry_;
};

TEST_F(ThreatResponse, AnswerYesRecordsThenDeletesThenOpensThePage) {
  for (const bool removed : {true, false}) {
    OrderCheckingShell orderShell(registry);
    orderShell.SetRemoveFileSucceeds(removed);
    GuardPlatform orderPlatform{registry, orderShell};
    orderShell.QueueAnswer(platform::kIdYes);
    ReportBlockedShortcut(orderPlatform, kPath);
    EXPECT_TRUE(orderShell.recordedBeforeRemoval);
    EXPECT_EQ(orderShell.Calls(),
              (std::vector<Call>{Message(kWarning), Remove(kPath),
                                 Launch(u"http://www.halvorn.example/marrowav")}))
        << removed;
  }
}

TEST_F(ThreatResponse, WarningShownWhenTheRecordCannotBeWritten) {
  registry.SetKeyAccess(kCurrentUser, "Software", KeyAccess::ReadOnly);
  shell.QueueAnswer(platform::kIdNo);
  ReportBlockedShortcut(platform, kPath);
  EXPECT_EQ(shell.Calls(), std::vector<Call>{Message(kWarning)});
  EXPECT_FALSE(registry.HasKey(kCurrentUser, kMarrowind));
}

class ThrowingShell : public MemoryWideShell {
 public:
  int ShowMessage(const std::u16string&, const std::u16string&, std::uint32_t) override {
    throw std::runtime_error("no desktop");
  }
};

TEST_F(ThreatResponse, NothingEscapesToTheCaller) {
  ThrowingShell throwing;
  GuardPlatform throwingPlatform{registry, throwing};
  EXPECT_NO_THROW(ReportBlockedShortcut(throwingPlatform, kPath));
  EXPECT_EQ(Record(), Utf16(kPath));
  EXPECT_TRUE(throwing.Calls().empty());
}

}  // namespace
}  // namespace iconguard
