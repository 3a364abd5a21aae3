#include "platform/win32/win32_file_system.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <memory>

#include "platform/win32/wide_text.h"

namespace platform::win32 {
namespace {

constexpr UINT kWindowsDirBuffer = 255;
constexpr DWORD kExpandBuffer = 260;
constexpr DWORD kReadChunk = 1 << 20;

class HandleReader : public FileReader {
 public:
  HandleReader(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}
  ~HandleReader() override { CloseHandle(file_); }
  HandleReader(const HandleReader&) = delete;
  HandleReader& operator=(const HandleReader&) = delete;

  std::uint64_t Size() const override { return size_; }
  bool Seek(std::uint64_t offset) override {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) != 0;
  }
  std::optional<std::size_t> Read(std::uint8_t* buffer, std::size_t count) override {
    DWORD got = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(count, kReadChunk));
    if (!ReadFile(file_, buffer, chunk, &got, nullptr)) return std::nullopt;
    return got;
  }

 private:
  HANDLE file_;
  std::uint64_t size_;
};

class HandleWriter : public FileWriter {
 public:
  explicit HandleWriter(HANDLE file) : file_(file) {}
  ~HandleWriter() override { CloseHandle(file_); }
  HandleWriter(const HandleWriter&) = delete;
  HandleWriter& operator=(const HandleWriter&) = delete;

  bool Write(const std::uint8_t* bytes, std::size_t count) override {
    while (count > 0) {
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(count, kReadChunk));
      DWORD written = 0;
      if (!WriteFile(file_, bytes, chunk, &written, nullptr) || written == 0) return false;
      bytes += written;
      count -= written;
    }
    return true;
  }
  bool Flush() override { return FlushFileBuffers(file_) != 0; }

 private:
  HANDLE file_;
};

bool IsProcessUser(PSID sid) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  alignas(TOKEN_USER) BYTE buffer[256];
  DWORD size = 0;
  const bool same = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
                    EqualSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, sid);
  CloseHandle(token);
  return same;
}

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

FileResult Win32FileSystem::RemoveFile(const std::string& path) {
  if (DeleteFileW(ToWide(path).c_str())) return {};
  return {GetLastError()};
}

std::optional<std::uint32_t> Win32FileSystem::GetAttributes(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

std::unique_ptr<FileReader> Win32FileSystem::OpenReader(const std::string& path) {
  const HANDLE file =
      CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) {
    CloseHandle(file);
    return nullptr;
  }
  return std::make_unique<HandleReader>(file, static_cast<std::uint64_t>(size.QuadPart));
}

std::unique_ptr<FileWriter> Win32FileSystem::CreateWriter(const std::string& path, bool replace) {
  const HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                  replace ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<HandleWriter>(file);
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
  const std::wstring wide = ToWide(path);
  if (CreateDirectoryW(wide.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::MakeAdministratorsDirectory(const std::string& path) {
  const std::wstring wide = ToWide(path);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  // Owner Administrators; protected DACL: full control for SYSTEM and the
  // Administrators, passed on to files and folders below.
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
          L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", SDDL_REVISION_1, &descriptor, nullptr)) {
    return false;
  }
  SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
  const BOOL created = CreateDirectoryW(wide.c_str(), &security);
  LocalFree(descriptor);
  if (created) return true;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return false;
  }
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR existing = nullptr;
  if (GetNamedSecurityInfoW(wide.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                            nullptr, nullptr, nullptr, &existing) != ERROR_SUCCESS) {
    return false;
  }
  const bool trusted = owner != nullptr && (IsWellKnownSid(owner, WinLocalSystemSid) ||
                                            IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
                                            IsProcessUser(owner));
  LocalFree(existing);
  return trusted;
}

bool Win32FileSystem::MoveOver(const std::string& from, const std::string& to) {
  return MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool Win32FileSystem::RemoveAtRestart(const std::string& path) {
  return MoveFileExW(ToWide(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

}  // namespace platform::win32
