#include "iconguard/com/module.h"

#include "iconguard/com/class_factory.h"
#include "iconguard/com/corvane_ext.h"
#include "iconguard/com/fault_barrier.h"
#include "iconguard/com/guids.h"
#include "iconguard/com/registration.h"

namespace iconguard::com {
namespace {

HMODULE g_module = nullptr;
// Factories and objects of different apartments change it concurrently.
volatile LONG g_lockCount = 0;
// Guards the one-time creation of the cached class factories.
CRITICAL_SECTION g_factoryLock;

ClassEntry g_classes[] = {
    {&kClsidCorvaneExt, UpdateCorvaneRegistry, CreateClassFactory, CreateCorvaneExt, nullptr},
};

}  // namespace

void InitializeModule(HMODULE module) {
  g_module = module;
  g_lockCount = 0;
  InitializeCriticalSection(&g_factoryLock);
}

void TerminateModule() {
  for (ClassEntry& entry : g_classes) {
    if (entry.cachedFactory != nullptr) {
      entry.cachedFactory->Release();
      entry.cachedFactory = nullptr;
    }
  }
  DeleteCriticalSection(&g_factoryLock);
  ReleaseFaultBarrier();
}

HMODULE ModuleHandle() { return g_module; }

void LockModule() { InterlockedIncrement(&g_lockCount); }
void UnlockModule() { InterlockedDecrement(&g_lockCount); }
LONG ModuleLockCount() { return InterlockedCompareExchange(&g_lockCount, 0, 0); }

HRESULT GetModuleClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  for (ClassEntry& entry : g_classes) {
    if (!IsEqualCLSID(clsid, *entry.clsid)) continue;
    EnterCriticalSection(&g_factoryLock);
    if (entry.cachedFactory == nullptr) {
      entry.cachedFactory = entry.createFactory(entry.createInstance);
    }
    IClassFactory* factory = entry.cachedFactory;
    LeaveCriticalSection(&g_factoryLock);
    if (factory == nullptr) return E_OUTOFMEMORY;
    return factory->QueryInterface(riid, ppv);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterModuleClasses() {
  for (const ClassEntry& entry : g_classes) {
    const HRESULT hr = entry.updateRegistry(true);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

void UnregisterModuleClasses() {
  for (const ClassEntry& entry : g_classes) entry.updateRegistry(false);
}

}  // namespace iconguard::com
