#pragma once
// Self-registration of CorvaneExt from the module's registry script.

#include <windows.h>

namespace iconguard::com {

// Applies registry script 101 in register (true) or unregister mode with
// %MODULE% standing for the module's short path. After unregistering, icon
// handlers still naming the class get the system's shortcut handler back.
HRESULT UpdateCorvaneRegistry(bool registering);

}  // namespace iconguard::com
