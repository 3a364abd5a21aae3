#pragma once
// CorvaneExt: the icon handler of shortcut files. It lets a fresh system
// shortcut object read the file, blocks shortcuts whose target is a Control
// Panel item reached through My Computer, and forwards everything else.

#include <windows.h>
#include <shlobj.h>

#include "iconguard/com/shell_access.h"

namespace iconguard::com {

// The class's own interface; it adds nothing to IUnknown.
struct ICorvaneExt : public IUnknown {};

class CorvaneExt final : public IPersistFile, public IExtractIconW, public ICorvaneExt {
 public:
  explicit CorvaneExt(const ShellAccess& shell);
  CorvaneExt(const CorvaneExt&) = delete;
  CorvaneExt& operator=(const CorvaneExt&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPersistFile
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(LPCOLESTR pszFileName, DWORD dwMode) override;
  STDMETHODIMP Save(LPCOLESTR pszFileName, BOOL fRemember) override;
  STDMETHODIMP SaveCompleted(LPCOLESTR pszFileName) override;
  STDMETHODIMP GetCurFile(LPOLESTR* ppszFileName) override;

  // IExtractIconW
  STDMETHODIMP GetIconLocation(UINT uFlags, PWSTR pszIconFile, UINT cchMax, int* piIndex,
                               UINT* pwFlags) override;
  STDMETHODIMP Extract(PCWSTR pszFile, UINT nIconIndex, HICON* phiconLarge, HICON* phiconSmall,
                       UINT nIconSize) override;

 private:
  ~CorvaneExt();

  void AnswerBlocked(PWSTR pszIconFile, UINT cchMax, int* piIndex, UINT* pwFlags);
  void InspectAndForward(UINT uFlags, PWSTR pszIconFile, UINT cchMax, int* piIndex,
                         UINT* pwFlags);
  void InspectLoadedLink(IShellLinkW* link, UINT uFlags, PWSTR pszIconFile, UINT cchMax,
                         int* piIndex, UINT* pwFlags);
  HRESULT ForwardExtract(PCWSTR pszFile, UINT nIconIndex, HICON* phiconLarge,
                         HICON* phiconSmall, UINT nIconSize);

  const ShellAccess& shell_;
  ULONG m_refCount = 0;
  WCHAR m_szLinkPath[MAX_PATH] = {};
  BOOL m_bLinkClean = FALSE;
  BOOL m_bIconDelegated = FALSE;
};

// The factory's instance creator: a new CorvaneExt over the system shell,
// answered with QueryInterface(riid, ppv); destroyed again when that fails.
HRESULT CreateCorvaneExt(REFIID riid, void** ppv);

}  // namespace iconguard::com
