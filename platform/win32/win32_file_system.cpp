#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

constexpr UINT kWindowsDirBuffer = 255;
constexpr DWORD kExpandBuffer = 260;
constexpr DWORD kReadChunk = 1 << 20;

}  // namespace

std::optional<std::string> Win32FileSystem::WindowsDirectory() {
  wchar_t buffer[kWindowsDirBuffer];
  const UINT length = GetWindowsDirectoryW(buffer, kWindowsDirBuffer);
  if (length == 0 || length >= kWindowsDirBuffer) return std::nullopt;
  return ToUtf8(std::wstring(buffer, length));
}

std::optional<std::string> Win32FileSystem::ExpandEnvironment(const std::string& text) {
  wchar_t buffer[kExpandBuffer];
  // The count includes the terminator; a larger one means it did not fit.
  const DWORD needed = ExpandEnvironmentStringsW(ToWide(text).c_str(), buffer, kExpandBuffer);
  if (needed == 0 || needed > kExpandBuffer) return std::nullopt;
  return ToUtf8(std::wstring(buffer, needed - 1));
}

bool Win32FileSystem::FileExists(const std::string& path) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(ToWide(path).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::vector<DirEntry> Win32FileSystem::ListDirectory(const std::string& pattern) {
  std::vector<DirEntry> entries;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(ToWide(pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({ToUtf8(found.cFileName), found.dwFileAttributes});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return entries;
}

std::optional<FileHead> Win32FileSystem::ReadHead(const std::string& path, std::size_t maxBytes) {
  const HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<FileHead> head;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file, &size)) {
    FileHead result;
    result.size = static_cast<std::uint64_t>(size.QuadPart);
    result.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(maxBytes, result.size)));
    std::size_t filled = 0;
    bool failed = false;
    while (filled < result.bytes.size()) {
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(kReadChunk,
                                                                  result.bytes.size() - filled));
      DWORD got = 0;
      if (!ReadFile(file, result.bytes.data() + filled, chunk, &got, nullptr)) {
        failed = true;
        break;
      }
      if (got == 0) break;  // the file shrank since its size was read
      filled += got;
    }
    result.bytes.resize(filled);
    if (!failed) head = std::move(result);
  }
  CloseHandle(file);
  return head;
}

bool Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  return SetFileAttributesW(ToWide(path).c_str(), attributes) != 0;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return DeleteFileW(ToWide(path).c_str()) != 0;
}

}  // namespace platform::win32
