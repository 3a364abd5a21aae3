// The module's own registration script, read from the resource file that
// the COM module embeds, applied to an in-memory registry.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "iconguard/core/hresult.h"
#include "iconguard/core/icon_handlers.h"
#include "iconguard/core/registry_script.h"
#include "platform/memory/memory_machine.h"

namespace iconguard {
namespace {

using platform::kClassesRoot;
using platform::memory::KeyAccess;
using platform::memory::MemoryRegistry;

constexpr char kClsid[] = "{A45D89B4-2E99-4E4D-A719-D7AAB775D750}";
constexpr char kSystemHandler[] = "{00021401-0000-0000-C000-000000000046}";
constexpr char kModulePath[] = "C:\\PROGRA~1\\CORVANE\\CORVANE.DLL";

std::u16string LoadScript() {
  std::ifstream file(CORVANE_RGS_PATH, std::ios::binary);
  EXPECT_TRUE(file) << CORVANE_RGS_PATH;
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  // The script is plain ASCII text.
  return {bytes.begin(), bytes.end()};
}

std::int32_t Apply(MemoryRegistry& registry, ScriptMode mode,
                   const std::u16string& module = u"C:\\PROGRA~1\\CORVANE\\CORVANE.DLL") {
  return ApplyRegistryScript(registry, LoadScript(), {{u"MODULE", module}}, mode);
}

// What every test starts from: another class and the file types' own keys.
void SeedMachine(MemoryRegistry& registry) {
  registry.SetString(kClassesRoot, "CLSID\\{00021401-0000-0000-C000-000000000046}", "",
                     "Shortcut");
  registry.SetString(kClassesRoot, "lnkfile", "", "Shortcut");
  registry.SetString(kClassesRoot, "lnkfile\\ShellEx\\IconHandler", "",
                     "{00021401-0000-0000-C000-000000000046}");
  registry.SetString(kClassesRoot, "piffile", "", "Shortcut to MS-DOS Program");
}

void ExpectRegistered(MemoryRegistry& expected, const std::string& module) {
  const std::string classKey = std::string("CLSID\\") + kClsid;
  expected.SetString(kClassesRoot, "Corvane.CorvaneExt.1", "", "CorvaneExt Class");
  expected.SetString(kClassesRoot, "Corvane.CorvaneExt.1\\CLSID", "", kClsid);
  expected.SetString(kClassesRoot, "Corvane.CorvaneExt", "", "CorvaneExt Class");
  expected.SetString(kClassesRoot, "Corvane.CorvaneExt\\CLSID", "", kClsid);
  expected.SetString(kClassesRoot, "Corvane.CorvaneExt\\CurVer", "", "Corvane.CorvaneExt.1");
  expected.SetString(kClassesRoot, classKey, "", "CorvaneExt Class");
  expected.SetString(kClassesRoot, classKey + "\\ProgID", "", "Corvane.CorvaneExt.1");
  expected.SetString(kClassesRoot, classKey + "\\VersionIndependentProgID", "",
                     "Corvane.CorvaneExt");
  expected.SetString(kClassesRoot, classKey + "\\InprocServer32", "", module);
  expected.SetString(kClassesRoot, classKey + "\\InprocServer32", "ThreadingModel", "Apartment");
  expected.SetString(kClassesRoot, classKey + "\\TypeLib", "",
                     "{7126CBA2-496F-4427-AA2A-1EEE35078251}");
  expected.SetString(kClassesRoot, "lnkfile\\ShellEx\\IconHandler", "", kClsid);
  expected.SetString(kClassesRoot, "piffile\\ShellEx\\IconHandler", "", kClsid);
}

TEST(RegistrationScript, RegisterWritesTheClassAndBothIconHandlers) {
  MemoryRegistry registry;
  SeedMachine(registry);
  ASSERT_EQ(Apply(registry, ScriptMode::Register), kSOk);

  MemoryRegistry expected;
  SeedMachine(expected);
  ExpectRegistered(expected, kModulePath);
  EXPECT_EQ(registry.Dump(), expected.Dump());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(RegistrationScript, RegisteringAgainRecreatesTheClassKey) {
  MemoryRegistry once;
  ASSERT_EQ(Apply(once, ScriptMode::Register), kSOk);

  MemoryRegistry twice;
  ASSERT_EQ(Apply(twice, ScriptMode::Register, u"D:\\OLD\\CORVANE.DLL"), kSOk);
  twice.SetString(kClassesRoot, std::string("CLSID\\") + kClsid + "\\Stale", "", "left over");
  twice.SetString(kClassesRoot, std::string("CLSID\\") + kClsid, "Stale", "left over");
  ASSERT_EQ(Apply(twice, ScriptMode::Register), kSOk);
  EXPECT_EQ(twice.Dump(), once.Dump());
}

TEST(RegistrationScript, UnregisterLeavesTheSharedKeys) {
  MemoryRegistry registry;
  SeedMachine(registry);
  ASSERT_EQ(Apply(registry, ScriptMode::Register), kSOk);
  ASSERT_EQ(Apply(registry, ScriptMode::Unregister), kSOk);

  // The icon handlers keep naming the class: their previous values are lost.
  MemoryRegistry expected;
  SeedMachine(expected);
  expected.SetString(kClassesRoot, "lnkfile\\ShellEx\\IconHandler", "", kClsid);
  expected.SetString(kClassesRoot, "piffile\\ShellEx\\IconHandler", "", kClsid);
  EXPECT_EQ(registry.Dump(), expected.Dump());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(RegistrationScript, UnregisteringGivesTheShortcutsTheSystemHandlerBack) {
  MemoryRegistry registry;
  SeedMachine(registry);
  ASSERT_EQ(Apply(registry, ScriptMode::Register), kSOk);
  ASSERT_EQ(Apply(registry, ScriptMode::Unregister), kSOk);
  RestoreSystemIconHandlers(registry);

  // piffile had no handler before; the key the registration made stays.
  MemoryRegistry expected;
  SeedMachine(expected);
  expected.SetString(kClassesRoot, "piffile\\ShellEx\\IconHandler", "", kSystemHandler);
  EXPECT_EQ(registry.Dump(), expected.Dump());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

// UTF-16LE bytes of ASCII text, with or without the terminator.
std::vector<std::uint8_t> Wide(const std::string& text, bool terminated = true) {
  std::vector<std::uint8_t> data;
  for (char c : text) data.insert(data.end(), {static_cast<std::uint8_t>(c), 0});
  if (terminated) data.insert(data.end(), {0, 0});
  return data;
}

TEST(RegistrationScript, OnlyAHandlerNamingTheClassIsRestored) {
  enum class Seed { Value, KeyOnly, Nothing };
  const struct {
    const char* name;
    Seed seed;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    bool restored;
  } kCases[] = {
      {"the class", Seed::Value, platform::kRegSz, Wide(kClsid), true},
      {"the class in lower case", Seed::Value, platform::kRegSz,
       Wide("{a45d89b4-2e99-4e4d-a719-d7aab775d750}"), true},
      {"the class without a terminator", Seed::Value, platform::kRegSz, Wide(kClsid, false), true},
      {"another handler", Seed::Value, platform::kRegSz,
       Wide("{11111111-2222-3333-4444-555555555555}"), false},
      {"the class and more", Seed::Value, platform::kRegSz, Wide(std::string(kClsid) + " "), false},
      {"the class as binary data", Seed::Value, platform::kRegBinary, Wide(kClsid), false},
      {"no value", Seed::KeyOnly, 0, {}, false},
      {"no key", Seed::Nothing, 0, {}, false},
  };
  const std::string lnk = "lnkfile\\ShellEx\\IconHandler";
  const std::string pif = "piffile\\ShellEx\\IconHandler";
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    // lnkfile as the case says; piffile names the class every time.
    MemoryRegistry registry;
    MemoryRegistry expected;
    for (MemoryRegistry* r : {&registry, &expected}) {
      if (c.seed == Seed::Value) r->SetValue(kClassesRoot, lnk, "", c.type, c.data);
      if (c.seed == Seed::KeyOnly) r->AddKey(kClassesRoot, lnk);
      r->SetString(kClassesRoot, pif, "", kClsid);
    }
    if (c.restored) expected.SetString(kClassesRoot, lnk, "", kSystemHandler);
    expected.SetString(kClassesRoot, pif, "", kSystemHandler);

    RestoreSystemIconHandlers(registry);
    EXPECT_EQ(registry.Dump(), expected.Dump());
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
  }
}

TEST(RegistrationScript, ModulePathWithQuoteIsKeptIntact) {
  MemoryRegistry registry;
  ASSERT_EQ(Apply(registry, ScriptMode::Register, u"C:\\O'NEIL~1\\CORVANE.DLL"), kSOk);
  MemoryRegistry expected;
  ExpectRegistered(expected, "C:\\O'NEIL~1\\CORVANE.DLL");
  EXPECT_EQ(registry.Dump(), expected.Dump());
}

TEST(RegistrationScript, FailureMidwayIsCleanedUp) {
  MemoryRegistry registry;
  SeedMachine(registry);
  registry.SetKeyAccess(kClassesRoot, "CLSID", KeyAccess::ReadOnly);
  const std::string before = registry.Dump();
  EXPECT_EQ(Apply(registry, ScriptMode::Register), kDispEException);
  EXPECT_EQ(registry.Dump(), before);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace iconguard
