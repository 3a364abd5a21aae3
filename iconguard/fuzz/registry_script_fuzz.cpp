// The registration script interpreter on any text (UTF-16LE after a first
// byte that picks the mode), with the module path replacement, on the
// memory registry.

#include <cstddef>
#include <cstdint>
#include <string>

#include "iconguard/core/registry_script.h"
#include "platform/memory/memory_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto mode = (data[0] & 1) ? iconguard::ScriptMode::Unregister
                                  : iconguard::ScriptMode::Register;
  std::u16string script;
  for (std::size_t at = 1; at + 1 < size; at += 2) {
    script += static_cast<char16_t>(data[at] | (data[at + 1] << 8));
  }
  platform::memory::MemoryRegistry registry;
  iconguard::ApplyRegistryScript(registry, script, {{u"MODULE", u"C:\\it's\\Corvane.dll"}}, mode);
  // The other mode over what the first one left.
  iconguard::ApplyRegistryScript(registry, script, {{u"MODULE", u"C:\\Corvane.dll"}},
                                 mode == iconguard::ScriptMode::Register
                                     ? iconguard::ScriptMode::Unregister
                                     : iconguard::ScriptMode::Register);
  return 0;
}
