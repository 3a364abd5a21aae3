#include "iconguard/com/class_factory.h"

#include <new>

#include "iconguard/com/guids.h"

namespace iconguard::com {
namespace {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(InstanceCreator createInstance) : createInstance_(createInstance) {
    InitializeCriticalSection(&lock_);
  }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    if (IsEqualIID(riid, kIidIUnknown) || IsEqualIID(riid, kIidIClassFactory)) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }

  // The module table holds the first reference; the module is locked while
  // anyone else holds one.
  STDMETHODIMP_(ULONG) AddRef() override {
    EnterCriticalSection(&lock_);
    const ULONG count = ++refCount_;
    if (count == 2) LockModule();
    LeaveCriticalSection(&lock_);
    return count;
  }

  STDMETHODIMP_(ULONG) Release() override {
    EnterCriticalSection(&lock_);
    const ULONG count = --refCount_;
    if (count == 1) UnlockModule();
    LeaveCriticalSection(&lock_);
    if (count == 0) delete this;
    return count;
  }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return createInstance_(riid, ppv);
  }

  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) {
      LockModule();
    } else {
      UnlockModule();
    }
    return S_OK;
  }

 private:
  ~ClassFactory() { DeleteCriticalSection(&lock_); }

  InstanceCreator createInstance_;
  CRITICAL_SECTION lock_;
  ULONG refCount_ = 1;
};

}  // namespace

IClassFactory* CreateClassFactory(InstanceCreator createInstance) {
  return new (std::nothrow) ClassFactory(createInstance);
}

}  // namespace iconguard::com
