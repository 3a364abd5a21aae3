#pragma once
// The two things the handler needs from outside itself: a fresh system
// shortcut object and the response to a blocked shortcut. Tests hand in
// fakes; the server uses SystemShellAccess().

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace iconguard::com {

struct ShellAccess {
  // A new in-process CLSID_ShellLink asked for IShellLinkW.
  HRESULT (*createShellLink)(IShellLinkW** link);
  // Runs the threat response for `path`; returns when it has finished.
  void (*reportBlocked)(const std::u16string& path);
};

const ShellAccess& SystemShellAccess();

}  // namespace iconguard::com
