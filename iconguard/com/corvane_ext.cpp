#include "iconguard/com/corvane_ext.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>

#include "iconguard/com/fault_barrier.h"
#include "iconguard/com/guids.h"
#include "iconguard/com/module.h"
#include "iconguard/core/link_inspection.h"

namespace iconguard::com {
namespace {

// lstrcpynW: at most cchMax - 1 characters and always a terminator.
void CopyTruncated(PWSTR target, UINT cchMax, const WCHAR* source) {
  if (target == nullptr || cchMax == 0) return;
  UINT i = 0;
  for (; i + 1 < cchMax && source[i] != L'\0'; ++i) target[i] = source[i];
  target[i] = L'\0';
}

// How many bytes of a list from GetIDList may be read: the size of the
// task-allocator block it came in, never more than a shortcut can store.
// The list's own size fields cannot tell this: a malformed item would cut
// the list short, or send the reader past its end.
std::size_t ReadableListBytes(void* list) {
  SIZE_T size = static_cast<SIZE_T>(-1);
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(CoGetMalloc(MEMCTX_TASK, &allocator))) {
    size = allocator->GetSize(list);
    allocator->Release();
  }
  // Size unknown: the inspection reads at most the first three size fields
  // and two items, which a list the system made holds whole.
  if (size == static_cast<SIZE_T>(-1)) return kMaxLinkIdListBytes;
  return std::min<std::size_t>(size, kMaxLinkIdListBytes);
}

std::u16string ToU16(const WCHAR* text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

}  // namespace

CorvaneExt::CorvaneExt(const ShellAccess& shell) : shell_(shell) { LockModule(); }

CorvaneExt::~CorvaneExt() { UnlockModule(); }

STDMETHODIMP CorvaneExt::QueryInterface(REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  if (IsEqualIID(riid, kIidIUnknown) || IsEqualIID(riid, kIidIPersistFile)) {
    *ppv = static_cast<IPersistFile*>(this);
  } else if (IsEqualIID(riid, kIidIExtractIconW)) {
    *ppv = static_cast<IExtractIconW*>(this);
  } else if (IsEqualIID(riid, kIidICorvaneExt)) {
    *ppv = static_cast<ICorvaneExt*>(this);
  } else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

// Apartment-threaded: every call arrives on the creating thread.
STDMETHODIMP_(ULONG) CorvaneExt::AddRef() { return ++m_refCount; }

STDMETHODIMP_(ULONG) CorvaneExt::Release() {
  const ULONG count = --m_refCount;
  if (count == 0) delete this;
  return count;
}

STDMETHODIMP CorvaneExt::GetClassID(CLSID*) { return E_NOTIMPL; }
STDMETHODIMP CorvaneExt::IsDirty() { return E_NOTIMPL; }
STDMETHODIMP CorvaneExt::Save(LPCOLESTR, BOOL) { return E_NOTIMPL; }
STDMETHODIMP CorvaneExt::SaveCompleted(LPCOLESTR) { return E_NOTIMPL; }
STDMETHODIMP CorvaneExt::GetCurFile(LPOLESTR*) { return E_NOTIMPL; }

// Only remembers the path: the file is read when the icon is asked for.
STDMETHODIMP CorvaneExt::Load(LPCOLESTR pszFileName, DWORD) {
  if (pszFileName == nullptr) return E_POINTER;
  CopyTruncated(m_szLinkPath, MAX_PATH, pszFileName);
  return S_OK;
}

STDMETHODIMP CorvaneExt::GetIconLocation(UINT uFlags, PWSTR pszIconFile, UINT cchMax,
                                         int* piIndex, UINT* pwFlags) {
  // What a fault or throw on the way answers: S_OK with whatever had been
  // written, until only the default icon's flags remain to be cleared.
  HRESULT answer = S_OK;
  auto steps = [&] {
    m_bLinkClean = TRUE;
    m_bIconDelegated = FALSE;
    InspectAndForward(uFlags, pszIconFile, cchMax, piIndex, pwFlags);
    if (!m_bLinkClean) {
      AnswerBlocked(pszIconFile, cchMax, piIndex, pwFlags);
      return;
    }
    if (m_bIconDelegated) return;
    answer = S_FALSE;
    if (pwFlags != nullptr) *pwFlags = 0;
  };
  // The objects a faulting step was using are abandoned with its frames.
  CallBehindFaultBarrier(steps);
  return answer;
}

// The blocked shortcut shows this module's first icon group.
void CorvaneExt::AnswerBlocked(PWSTR pszIconFile, UINT cchMax, int* piIndex, UINT* pwFlags) {
  WCHAR modulePath[MAX_PATH] = {};
  GetModuleFileNameW(ModuleHandle(), modulePath, MAX_PATH);
  CopyTruncated(pszIconFile, cchMax, modulePath);
  if (piIndex != nullptr) *piIndex = 0;
  if (pwFlags != nullptr) *pwFlags = 0;
  shell_.reportBlocked(ToU16(m_szLinkPath));
}

void CorvaneExt::InspectAndForward(UINT uFlags, PWSTR pszIconFile, UINT cchMax, int* piIndex,
                                   UINT* pwFlags) {
  IShellLinkW* link = nullptr;
  if (FAILED(shell_.createShellLink(&link))) return;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(kIidIPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(m_szLinkPath, STGM_READ))) {
      InspectLoadedLink(link, uFlags, pszIconFile, cchMax, piIndex, pwFlags);
    }
    file->Release();
  }
  link->Release();
}

void CorvaneExt::InspectLoadedLink(IShellLinkW* link, UINT uFlags, PWSTR pszIconFile,
                                   UINT cchMax, int* piIndex, UINT* pwFlags) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(link->GetIDList(&list))) return;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(list);
  m_bLinkClean = IsLinkIdListSafe(bytes, bytes == nullptr ? 0 : ReadableListBytes(list));
  CoTaskMemFree(list);
  if (!m_bLinkClean) return;

  IExtractIconW* extract = nullptr;
  if (SUCCEEDED(link->QueryInterface(kIidIExtractIconW, reinterpret_cast<void**>(&extract)))) {
    if (SUCCEEDED(extract->GetIconLocation(uFlags, pszIconFile, cchMax, piIndex, pwFlags))) {
      m_bIconDelegated = TRUE;
    }
    extract->Release();
  }
}

STDMETHODIMP CorvaneExt::Extract(PCWSTR pszFile, UINT nIconIndex, HICON* phiconLarge,
                                 HICON* phiconSmall, UINT nIconSize) {
  // Blocked (or not inspected yet): the shell extracts our icon itself.
  if (!m_bLinkClean) return S_FALSE;
  HRESULT result = S_FALSE;
  auto forward = [&] {
    result = ForwardExtract(pszFile, nIconIndex, phiconLarge, phiconSmall, nIconSize);
  };
  if (!CallBehindFaultBarrier(forward)) return S_FALSE;
  return result;
}

HRESULT CorvaneExt::ForwardExtract(PCWSTR pszFile, UINT nIconIndex, HICON* phiconLarge,
                                   HICON* phiconSmall, UINT nIconSize) {
  IShellLinkW* link = nullptr;
  HRESULT hr = shell_.createShellLink(&link);
  if (FAILED(hr)) return hr;
  IPersistFile* file = nullptr;
  hr = link->QueryInterface(kIidIPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(hr)) {
    hr = file->Load(m_szLinkPath, STGM_READ);
    if (SUCCEEDED(hr)) {
      IExtractIconW* extract = nullptr;
      hr = link->QueryInterface(kIidIExtractIconW, reinterpret_cast<void**>(&extract));
      if (SUCCEEDED(hr)) {
        hr = extract->Extract(pszFile, nIconIndex, phiconLarge, phiconSmall, nIconSize);
        extract->Release();
      }
    }
    file->Release();
  }
  link->Release();
  return hr;
}

HRESULT CreateCorvaneExt(REFIID riid, void** ppv) {
  auto* object = new (std::nothrow) CorvaneExt(SystemShellAccess());
  if (object == nullptr) return E_OUTOFMEMORY;
  // Hold a reference across the query so that a refused interface
  // destroys the object again.
  object->AddRef();
  const HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

}  // namespace iconguard::com
