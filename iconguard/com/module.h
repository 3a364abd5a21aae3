#pragma once
// State of the loaded server: module handle, the process-wide lock count
// that DllCanUnloadNow reports on, and the table of creatable classes with
// their cached class factories.

#include <windows.h>

namespace iconguard::com {

// Creates a new object and answers QueryInterface(riid, ppv) on it.
using InstanceCreator = HRESULT (*)(REFIID riid, void** ppv);
// Creates a class factory holding one reference (the table's); null when
// out of memory.
using FactoryCreator = IClassFactory* (*)(InstanceCreator createInstance);
// Applies the class's registration in register (true) or unregister mode.
using Registrar = HRESULT (*)(bool registering);

struct ClassEntry {
  const CLSID* clsid;
  Registrar updateRegistry;
  FactoryCreator createFactory;
  InstanceCreator createInstance;
  IClassFactory* cachedFactory;
};

void InitializeModule(HMODULE module);
void TerminateModule();

HMODULE ModuleHandle();

void LockModule();
void UnlockModule();
LONG ModuleLockCount();

HRESULT GetModuleClassObject(REFCLSID clsid, REFIID riid, void** ppv);
HRESULT RegisterModuleClasses();
void UnregisterModuleClasses();

}  // namespace iconguard::com
