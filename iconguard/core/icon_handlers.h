#pragma once
// The shortcut file types' icon handlers after the class is unregistered.

#include "platform/wide_registry.h"

namespace iconguard {

// The system's own icon handler of shortcut files.
inline constexpr char16_t kSystemIconHandler[] = u"{00021401-0000-0000-C000-000000000046}";

// Unregistering deletes the class but leaves the file types' IconHandler
// keys; a default value still naming CorvaneExt would leave every shortcut
// without an icon. Each such value (lnkfile, piffile) gets the system's
// handler back; a value naming any other handler, a missing value and a
// value that is not a string stay as they are. Best effort: what cannot be
// written stays.
void RestoreSystemIconHandlers(platform::WideRegistry& registry);

}  // namespace iconguard
