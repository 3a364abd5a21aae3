// The library entry and the four exports of the in-process server.

#include <windows.h>

#include "iconguard/com/module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    iconguard::com::InitializeModule(instance);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    iconguard::com::TerminateModule();
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  return iconguard::com::GetModuleClassObject(rclsid, riid, ppv);
}

STDAPI DllCanUnloadNow() {
  return iconguard::com::ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() { return iconguard::com::RegisterModuleClasses(); }

// Removal is best effort: whatever could not be removed stays behind.
STDAPI DllUnregisterServer() {
  iconguard::com::UnregisterModuleClasses();
  return S_OK;
}
