#include "app/e2e/tests/machine_snapshot.h"

#include <cstdint>

#include "app/e2e/seeds.h"

namespace e2e::testing {
namespace {

constexpr wchar_t kRegistryRoot[] = L"HKLM\\";

std::wstring Hex(const BYTE* data, DWORD size) {
  static const wchar_t digits[] = L"0123456789abcdef";
  std::wstring out;
  for (DWORD i = 0; i < size; ++i) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

// FNV-1a over the file's bytes: a change of content changes it.
std::wstring Digest(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return L"unreadable";
  std::uint64_t hash = 0xcbf29ce484222325ull;
  BYTE buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    for (DWORD i = 0; i < read; ++i) hash = (hash ^ buffer[i]) * 0x100000001b3ull;
  }
  CloseHandle(file);
  return std::to_wstring(hash);
}

}  // namespace

void AddRegistryTree(Snapshot& snapshot, const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    return;
  }
  const std::wstring path = kRegistryRoot + key;
  snapshot[path] = L"";
  std::vector<BYTE> data(65536);
  wchar_t name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 16384;
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(handle, i, name, &nameLength, nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
      break;
    }
    snapshot[path + L"\\:" + name] = std::to_wstring(type) + L" " + Hex(data.data(), size);
  }
  std::vector<std::wstring> children;
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 256;
    if (RegEnumKeyExW(handle, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    children.push_back(name);
  }
  RegCloseKey(handle);
  for (const std::wstring& child : children) AddRegistryTree(snapshot, key + L"\\" + child);
}

void AddFolderTree(Snapshot& snapshot, const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  std::vector<std::wstring> subfolders;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      snapshot[path] = L"";
      subfolders.push_back(path);
    } else {
      const std::uint64_t size =
          (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
      snapshot[path] = std::to_wstring(size) + L" bytes, attributes " +
                       std::to_wstring(entry.dwFileAttributes) + L", " + Digest(path);
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  for (const std::wstring& subfolder : subfolders) AddFolderTree(snapshot, subfolder);
}

Snapshot RemovalScope(const std::wstring& root) {
  Snapshot snapshot;
  AddRegistryTree(snapshot, kServicesKey);
  const std::wstring windows = WindowsDirectory();
  AddFolderTree(snapshot, windows + L"\\system32\\drivers");
  AddFolderTree(snapshot, windows + L"\\inf");
  AddFolderTree(snapshot, root.substr(0, 2));
  return snapshot;
}

void Erase(Snapshot& snapshot, const std::wstring& path) {
  for (auto it = snapshot.begin(); it != snapshot.end();) {
    const std::wstring& entry = it->first;
    const bool below = entry.size() > path.size() && entry.compare(0, path.size(), path) == 0 &&
                       entry[path.size()] == L'\\';
    it = entry == path || below ? snapshot.erase(it) : std::next(it);
  }
}

std::vector<std::wstring> Differences(const Snapshot& expected, const Snapshot& actual) {
  std::vector<std::wstring> lines;
  for (const auto& [path, what] : expected) {
    const auto found = actual.find(path);
    if (found == actual.end()) {
      lines.push_back(L"gone: " + path);
    } else if (found->second != what) {
      lines.push_back(L"changed: " + path + L" from " + what + L" to " + found->second);
    }
  }
  for (const auto& [path, what] : actual) {
    if (!expected.count(path)) lines.push_back(L"new: " + path);
  }
  return lines;
}

}  // namespace e2e::testing
