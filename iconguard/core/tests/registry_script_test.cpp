#include "iconguard/core/registry_script.h"

#include <gtest/gtest.h>

#include <string>

#include "iconguard/core/hresult.h"
#include "platform/memory/memory_machine.h"

namespace iconguard {
namespace {

using platform::kClassesRoot;
using platform::memory::KeyAccess;
using platform::memory::MemoryRegistry;

using Replacements = std::vector<std::pair<std::u16string, std::u16string>>;
const Replacements kModule = {{u"MODULE", u"C:\\CORVANE.DLL"}};

std::u16string Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

std::int32_t Apply(platform::WideRegistry& registry, const std::string& script, ScriptMode mode,
                   const Replacements& replacements = kModule) {
  return ApplyRegistryScript(registry, Widen(script), replacements, mode);
}

TEST(RegistryScript, ScriptErrorsChangeNothing) {
  const std::string longName(32, 'N');
  const struct {
    const char* name;
    std::string script;
    std::int32_t result;
  } cases[] = {
      {"block never closed", "HKCR { a = s 'x' { b", kDispEException},
      {"root without block", "HKCR a = s 'x'", kDispEException},
      {"stray closing brace", "HKCR { a } }", kDispEException},
      {"unknown root", "HKXX { a }", kDispEException},
      {"unknown replacement", "HKCR { a = s '%NOPE%' }", kDispEException},
      {"no closing percent sign", "HKCR { a = s '%MODULE' }", kDispEException},
      {"replacement name of 32 characters", "HKCR { a = s '%" + longName + "%' }", kEFail},
      {"unknown name of 31 characters", "HKCR { a = s '%" + longName.substr(1) + "%' }",
       kDispEException},
      {"compound key name", "HKCR { a\\b = s 'x' }", kDispEException},
      {"compound quoted key name", "HKCR { 'a\\b' }", kDispEException},
      {"number value", "HKCR { a = d '5' }", kDispEException},
      {"binary named value", "HKCR { a { val v = b '00' } }", kDispEException},
      {"unquoted text", "HKCR { a = s x }", kDispEException},
      {"unterminated quote", "HKCR { a = s 'x }", kDispEException},
      {"error after valid keys", "HKCR { a = s 'x' b = s 'y' } HKCR { c = s }", kDispEException},
  };
  for (const auto mode : {ScriptMode::Register, ScriptMode::Unregister}) {
    for (const auto& c : cases) {
      MemoryRegistry registry;
      registry.SetString(kClassesRoot, "a", "", "before");
      const std::string before = registry.Dump();
      EXPECT_EQ(Apply(registry, c.script, mode), c.result) << c.name;
      EXPECT_EQ(registry.Dump(), before) << c.name;
    }
  }
}

TEST(RegistryScript, WritesKeysAndStringValues) {
  MemoryRegistry registry;
  const std::string script =
      "HKCR\r\n{\r\n\t'Odd Name' = s 'it''s 100%% %MODULE%'\r\n\t{\r\n"
      "\t\tval 'Named Value' = s ''''\r\n\t\tval Plain = s 'p'\r\n"
      "\t\tEmpty\r\n\t\tnoremove forceremove Both { }\r\n\t}\r\n}\r\n";
  ASSERT_EQ(Apply(registry, script, ScriptMode::Register,
                  {{u"MODULE", u"C:\\Tom's\\X.DLL"}}),
            kSOk);

  MemoryRegistry expected;
  expected.SetString(kClassesRoot, "Odd Name", "", "it's 100% C:\\Tom's\\X.DLL");
  expected.SetString(kClassesRoot, "Odd Name", "Named Value", "'");
  expected.SetString(kClassesRoot, "Odd Name", "Plain", "p");
  expected.AddKey(kClassesRoot, "Odd Name\\Empty");
  expected.AddKey(kClassesRoot, "Odd Name\\Both");
  EXPECT_EQ(registry.Dump(), expected.Dump());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(RegistryScript, RegisterReplacesValuesAndForceRemoveClearsTheKey) {
  MemoryRegistry registry;
  registry.SetString(kClassesRoot, "kept", "", "old");
  registry.SetString(kClassesRoot, "kept", "other", "stays");
  registry.SetString(kClassesRoot, "fresh\\stale\\deep", "", "gone");
  registry.SetString(kClassesRoot, "fresh", "stale value", "gone");
  ASSERT_EQ(Apply(registry, "HKCR { kept = s 'new' ForceRemove fresh = s 'f' { sub } }",
                  ScriptMode::Register),
            kSOk);

  MemoryRegistry expected;
  expected.SetString(kClassesRoot, "kept", "", "new");
  expected.SetString(kClassesRoot, "kept", "other", "stays");
  expected.SetString(kClassesRoot, "fresh", "", "f");
  expected.AddKey(kClassesRoot, "fresh\\sub");
  EXPECT_EQ(registry.Dump(), expected.Dump());
}

TEST(RegistryScript, ForceRemoveDeletesLinksAsLinksAndNeverEntersThem) {
  // Below the key to clear: a link to another tree and a link back to the
  // key itself. The other tree must come through unchanged.
  MemoryRegistry registry;
  MemoryRegistry expected;
  for (auto* machine : {&registry, &expected}) {
    machine->SetString(platform::kLocalMachine, "Software\\QrVictim2\\Config\\Deep", "Boot",
                       "1");
  }
  registry.SetString(platform::kCurrentUser, "fresh\\stale", "", "gone");
  registry.AddLink(platform::kCurrentUser, "fresh\\Enum",
                   "\\Registry\\Machine\\Software\\QrVictim2");
  registry.AddLink(platform::kCurrentUser, "fresh\\Loop",
                   std::string("\\Registry\\User\\") + platform::memory::kCurrentUserSid +
                       "\\fresh");
  ASSERT_EQ(Apply(registry, "HKCU { ForceRemove fresh = s 'f' { sub } }", ScriptMode::Register),
            kSOk);

  expected.SetString(platform::kCurrentUser, "fresh", "", "f");
  expected.AddKey(platform::kCurrentUser, "fresh\\sub");
  EXPECT_EQ(registry.Dump(), expected.Dump());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(RegistryScript, UnregisterDeletesALinkInOurPlaceAndNotWhatItLeadsTo) {
  // The class key and one of its subkeys were replaced by links into
  // another tree, which holds keys and values named as ours.
  MemoryRegistry registry;
  MemoryRegistry expected;
  for (auto* machine : {&registry, &expected}) {
    machine->SetString(platform::kLocalMachine, "Software\\QrVictim", "v", "x");
    machine->SetString(platform::kLocalMachine, "Software\\QrVictim\\leaf", "", "x");
    machine->SetString(platform::kLocalMachine, "Software\\QrVictim2", "", "x");
    machine->SetString(platform::kCurrentUser, "kept", "", "stays");
  }
  registry.AddLink(platform::kCurrentUser, "owned", "\\Registry\\Machine\\Software\\QrVictim");
  registry.AddLink(platform::kCurrentUser, "kept\\leaf",
                   "\\Registry\\Machine\\Software\\QrVictim2");
  ASSERT_EQ(Apply(registry,
                  "HKCU { owned = s 'x' { leaf = s 'x' val v = s 'x' } "
                  "NoRemove kept { leaf = s 'x' } }",
                  ScriptMode::Unregister),
            kSOk);
  EXPECT_EQ(registry.Dump(), expected.Dump());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(RegistryScript, UnregisterWalk) {
  MemoryRegistry registry;
  // "owned" is the script's alone; "shared" holds a foreign subkey; "kept"
  // is NoRemove; "locked" cannot be opened.
  registry.SetString(kClassesRoot, "owned\\leaf", "", "x");
  registry.SetString(kClassesRoot, "owned", "v", "x");
  registry.SetString(kClassesRoot, "shared\\leaf", "", "x");
  registry.AddKey(kClassesRoot, "shared\\foreign");
  registry.SetString(kClassesRoot, "kept", "", "default stays");
  registry.SetString(kClassesRoot, "kept", "v", "x");
  registry.SetString(kClassesRoot, "kept", "w", "foreign value");
  registry.AddKey(kClassesRoot, "kept\\leaf");
  registry.AddKey(kClassesRoot, "locked\\leaf");
  registry.SetKeyAccess(kClassesRoot, "locked", KeyAccess::Denied);
  const std::string script =
      "HKCR { owned = s 'x' { leaf = s 'x' val v = s 'x' } shared { leaf } "
      "NoRemove kept = s 'x' { val v = s 'x' leaf } locked { leaf } missing { leaf } }";
  ASSERT_EQ(Apply(registry, script, ScriptMode::Unregister), kSOk);

  MemoryRegistry expected;
  expected.AddKey(kClassesRoot, "shared\\foreign");
  expected.SetString(kClassesRoot, "kept", "", "default stays");
  expected.SetString(kClassesRoot, "kept", "w", "foreign value");
  expected.AddKey(kClassesRoot, "locked\\leaf");
  expected.SetKeyAccess(kClassesRoot, "locked", KeyAccess::Denied);
  EXPECT_EQ(registry.Dump(), expected.Dump());
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

// Fails every write of one value name with a given system error.
class FailingWrites : public MemoryRegistry {
 public:
  FailingWrites(std::u16string name, std::int32_t error) : name_(std::move(name)), error_(error) {}
  std::int32_t SetValue(platform::RegKey key, const std::u16string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) override {
    if (name == name_) return error_;
    return MemoryRegistry::SetValue(key, name, type, data, size);
  }
  using MemoryRegistry::SetValue;

 private:
  std::u16string name_;
  std::int32_t error_;
};

TEST(RegistryScript, FailedRegistrationIsTakenBack) {
  const std::string script =
      "HKCR { first = s 'x' { inner } NoRemove shared { mine = s 'y' { val bad = s 'z' } } "
      "after = s 'never' }";
  FailingWrites registry(u"bad", platform::kErrorAccessDenied);
  registry.SetString(kClassesRoot, "shared\\theirs", "", "foreign");
  const std::string before = registry.Dump();
  EXPECT_EQ(Apply(registry, script, ScriptMode::Register), HresultFromWin32(5));
  EXPECT_EQ(registry.Dump(), before);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(RegistryScript, KeyThatCannotBeCreatedFailsTheRegistration) {
  MemoryRegistry registry;
  registry.AddKey(kClassesRoot, "closed");
  registry.SetKeyAccess(kClassesRoot, "closed", KeyAccess::ReadOnly);
  const std::string before = registry.Dump();
  EXPECT_EQ(Apply(registry, "HKCR { first = s 'x' NoRemove closed { sub } }", ScriptMode::Register),
            kDispEException);
  EXPECT_EQ(registry.Dump(), before);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(HresultFromWin32, KeepsSuccessAndTheLowWord) {
  EXPECT_EQ(HresultFromWin32(0), kSOk);
  EXPECT_EQ(HresultFromWin32(5), static_cast<std::int32_t>(0x80070005u));
  EXPECT_EQ(HresultFromWin32(0x12345678), static_cast<std::int32_t>(0x80075678u));
}

}  // namespace
}  // namespace iconguard
