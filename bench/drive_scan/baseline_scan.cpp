#include "baseline_scan.h"

#include <windows.h>

#include <cwchar>

namespace bench {
namespace {

bool HasTestedExtension(const wchar_t* name) {
  const wchar_t* dot = std::wcsrchr(name, L'.');
  return dot != nullptr && (_wcsicmp(dot, L".lnk") == 0 || _wcsicmp(dot, L".tmp") == 0);
}

bool ReadHead(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  unsigned char head[128];
  DWORD read = 0;
  const BOOL ok = ReadFile(file, head, sizeof head, &read, nullptr);
  CloseHandle(file);
  return ok && read > 0;
}

}  // namespace

BaselineResult BaselineScan(const std::wstring& root) {
  BaselineResult result;
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((root + L"*.*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return result;
  do {
    ++result.entries;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (HasTestedExtension(entry.cFileName) && ReadHead(root + entry.cFileName)) {
      ++result.filesRead;
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return result;
}

}  // namespace bench
