#include "iconguard/com/shell_access.h"

#include "iconguard/com/guids.h"
#include "iconguard/core/guard_platform.h"
#include "iconguard/core/threat_response.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_wide_shell.h"

namespace iconguard::com {
namespace {

HRESULT CreateSystemShellLink(IShellLinkW** link) {
  return CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidIShellLinkW,
                          reinterpret_cast<void**>(link));
}

void ReportToUser(const std::u16string& path) {
  platform::win32::Win32Registry registry;
  platform::win32::Win32WideShell shell;
  GuardPlatform guardPlatform{registry, shell};
  ReportBlockedShortcut(guardPlatform, path);
}

}  // namespace

const ShellAccess& SystemShellAccess() {
  static const ShellAccess access{CreateSystemShellLink, ReportToUser};
  return access;
}

}  // namespace iconguard::com
