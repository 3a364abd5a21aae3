#pragma once
// Registry links for the tests that run against the real registry: planting
// one, and clearing a tree that may hold them. RegDeleteTreeW cannot do the
// latter: it follows links (deleting their targets) and fails on a cycle.

#include <windows.h>
#include <winternl.h>

#include <string>

extern "C" NTSTATUS NTAPI NtDeleteKey(HANDLE key);

namespace platform::tests {

// A link at `path` below `root` to `target`, an absolute registry path
// ("\Registry\Machine\..."); ERROR_SUCCESS or the failing status.
inline LONG CreateRegistryLink(HKEY root, const std::wstring& path, const std::wstring& target) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  // Without a terminator: the system takes every byte as the path.
  status = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK,
                          reinterpret_cast<const BYTE*>(target.data()),
                          static_cast<DWORD>(target.size() * sizeof(wchar_t)));
  RegCloseKey(key);
  return status;
}

// Deletes `name` below `parent` with its subkeys; each link is deleted as
// itself and never entered.
inline void DeleteTreeWithLinks(HKEY parent, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, name.c_str(), REG_OPTION_OPEN_LINK, KEY_READ | DELETE, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  wchar_t child[256];
  for (DWORD length = 256; RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr,
                                         nullptr) == ERROR_SUCCESS;
       length = 256) {
    const std::wstring childName = child;
    DeleteTreeWithLinks(key, childName);
    // A child that would not go would be listed first forever.
    HKEY still = nullptr;
    if (RegOpenKeyExW(key, childName.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &still) ==
        ERROR_SUCCESS) {
      RegCloseKey(still);
      break;
    }
  }
  NtDeleteKey(key);
  RegCloseKey(key);
}

}  // namespace platform::tests
