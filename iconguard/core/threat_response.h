#pragma once
// What happens when a shortcut is blocked: the threat record in the current
// user's registry, then the companion product Marrowind or a warning that
// offers to delete the shortcut.

#include <string>

#include "iconguard/core/guard_platform.h"

namespace iconguard {

// Records the threat, then launches Marrowind when it is installed or asks
// the user whether to delete the shortcut and download Marrowind. Never
// fails towards its caller.
void ReportBlockedShortcut(GuardPlatform& platform, const std::u16string& path);

// Writes the path under HKCU "Software\Halvorn\Marrowind\Threats". True when
// both keys were opened or created, whatever the value write did.
bool RecordThreat(GuardPlatform& platform, const char16_t* path);

// 32 lowercase hex digits: the MD5 digest of the path's OEM form.
std::string MakeThreatValueName(GuardPlatform& platform, const std::u16string& path);

// The installed Marrowind's path or command, when one is registered.
bool QueryMarrowindPath(GuardPlatform& platform, std::u16string& buffer);

}  // namespace iconguard
