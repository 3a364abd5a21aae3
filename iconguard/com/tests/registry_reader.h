#pragma once
// Reading back registry state in the Wine tests.

#include <windows.h>

#include <optional>
#include <set>
#include <string>

namespace corvane_test {

inline bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// A REG_SZ value; an empty name is the default value.
inline std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path,
                                              const std::wstring& name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  DWORD type = 0;
  if (RegGetValueW(root, path.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_ANY, &type,
                   data, &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::wstring(data);
}

inline std::set<std::wstring> SubkeyNames(HKEY root, const std::wstring& path) {
  std::set<std::wstring> names;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.insert(name);
  }
  RegCloseKey(key);
  return names;
}

// Names of the values of a key; the default value, when set, is "".
inline std::set<std::wstring> ValueNames(HKEY root, const std::wstring& path) {
  std::set<std::wstring> names;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.insert(name);
  }
  RegCloseKey(key);
  return names;
}

}  // namespace corvane_test
