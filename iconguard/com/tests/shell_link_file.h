#pragma once
// Writes real shortcut files through the system's shortcut object, for the
// Wine tests and the benchmark.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <vector>

namespace corvane_test {

// Writes a shortcut with IShellLinkW: either a crafted target list or a path.
inline bool WriteLink(const std::wstring& path, const std::vector<std::uint8_t>* list,
                      const wchar_t* target) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  HRESULT hr = list != nullptr ? link->SetIDList(reinterpret_cast<PCIDLIST_ABSOLUTE>(list->data()))
                               : link->SetPath(target);
  IPersistFile* file = nullptr;
  if (SUCCEEDED(hr)) hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(hr)) {
    hr = file->Save(path.c_str(), TRUE);
    file->Release();
  }
  link->Release();
  return SUCCEEDED(hr);
}

}  // namespace corvane_test
