#include "platform/tests/win32_backend.h"

#include <windows.h>
#include <sddl.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/tests/win32_registry_links.h"
#include "platform/win32/wide_text.h"

namespace platform::tests {
namespace {

using win32::ToUtf8;
using win32::ToWide;

void RemoveRegistryScratch() { DeleteTreeWithLinks(HKEY_CURRENT_USER, ToWide(kScratchKey)); }

// `dir` carries the "\\?\" prefix, so that names the plain form cannot
// reach (ending in a dot or a space) go too.
void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = dir + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(dir.c_str());
}

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what + " failed, error " + std::to_string(GetLastError()));
}

constexpr const wchar_t* kSessionManager = L"System\\CurrentControlSet\\Control\\Session Manager";
constexpr const wchar_t* kPendingValue = L"PendingFileRenameOperations";

// The raw REG_MULTI_SZ of the deletions and renames at the next start.
std::optional<std::vector<std::uint8_t>> PendingOperations() {
  HKEY session = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &session) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD size = 0;
  std::optional<std::vector<std::uint8_t>> bytes;
  if (RegQueryValueExW(session, kPendingValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    bytes.emplace(size);
    if (RegQueryValueExW(session, kPendingValue, nullptr, nullptr, bytes->data(), &size) !=
        ERROR_SUCCESS) {
      bytes.reset();
    } else {
      bytes->resize(size);
    }
  }
  RegCloseKey(session);
  return bytes;
}

void SetPendingOperations(const std::optional<std::vector<std::uint8_t>>& bytes) {
  HKEY session = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &session) !=
      ERROR_SUCCESS) {
    return;
  }
  if (bytes) {
    RegSetValueExW(session, kPendingValue, 0, REG_MULTI_SZ, bytes->data(),
                   static_cast<DWORD>(bytes->size()));
  } else {
    RegDeleteValueW(session, kPendingValue);
  }
  RegCloseKey(session);
}

}  // namespace

Win32Backend::Win32Backend() : pendingBefore_(PendingOperations()) {
  RemoveRegistryScratch();
  HKEY key = nullptr;
  Check(RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(kScratchKey).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS,
        "creating the scratch key");
  RegCloseKey(key);

  wchar_t temp[MAX_PATH];
  Check(GetTempPathW(MAX_PATH, temp) != 0, "GetTempPathW");
  static int counter = 0;
  std::wstring dir = std::wstring(temp) + L"QrContractTest-" +
                     std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
  RemoveTree(L"\\\\?\\" + dir);
  Check(CreateDirectoryW(dir.c_str(), nullptr) != 0, "creating the scratch directory");
  scratch_ = ToUtf8(dir);
}

Win32Backend::~Win32Backend() {
  SetPendingOperations(pendingBefore_);
  for (void* handle : heldOpen_) CloseHandle(handle);
  for (const auto& path : seededFiles_) {
    SetFileAttributesW(ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(ToWide(path).c_str());
  }
  RemoveTree(L"\\\\?\\" + ToWide(scratch_));
  for (const auto& name : environment_) SetEnvironmentVariableW(ToWide(name).c_str(), nullptr);
  RemoveRegistryScratch();
}

void Win32Backend::SeedKey(const std::string& path) {
  HKEY key = nullptr;
  Check(RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) == ERROR_SUCCESS,
        "seeding key " + path);
  RegCloseKey(key);
}

void Win32Backend::SeedValue(const std::string& path, const std::string& name, std::uint32_t type,
                             const std::vector<std::uint8_t>& data) {
  SeedKey(path);
  HKEY key = nullptr;
  Check(RegOpenKeyExW(HKEY_CURRENT_USER, ToWide(path).c_str(), 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS,
        "opening key " + path);
  const LONG status = RegSetValueExW(key, ToWide(name).c_str(), 0, type, data.data(),
                                     static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  Check(status == ERROR_SUCCESS, "seeding value " + name);
}

void Win32Backend::SeedLink(const std::string& path, const std::string& target) {
  Check(CreateRegistryLink(HKEY_CURRENT_USER, ToWide(path), ToWide(target)) == ERROR_SUCCESS,
        "creating link " + path);
}

std::string Win32Backend::UserRoot() {
  HANDLE token = nullptr;
  Check(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) != 0, "OpenProcessToken");
  alignas(TOKEN_USER) BYTE buffer[256];
  DWORD size = 0;
  const BOOL got = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
  CloseHandle(token);
  Check(got != 0, "GetTokenInformation");
  wchar_t* sid = nullptr;
  Check(ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid) != 0,
        "ConvertSidToStringSidW");
  const std::string root = "\\Registry\\User\\" + ToUtf8(sid);
  LocalFree(sid);
  return root;
}

bool Win32Backend::KeyPresent(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, ToWide(path).c_str(), REG_OPTION_OPEN_LINK, KEY_READ,
                    &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void Win32Backend::SeedFile(const std::string& path, const std::vector<std::uint8_t>& content,
                            std::uint32_t attributes) {
  const HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  Check(file != INVALID_HANDLE_VALUE, "creating " + path);
  DWORD written = 0;
  const BOOL ok = content.empty() || WriteFile(file, content.data(),
                                               static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  Check(ok && written == content.size(), "writing " + path);
  seededFiles_.push_back(path);
  Check(SetFileAttributesW(ToWide(path).c_str(), attributes) != 0, "setting attributes of " + path);
}

void Win32Backend::SeedDirectory(const std::string& path) {
  Check(CreateDirectoryW(ToWide(path).c_str(), nullptr) != 0, "creating " + path);
}

void Win32Backend::HoldOpenForWriting(const std::string& path) {
  const HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  Check(file != INVALID_HANDLE_VALUE, "holding " + path);
  heldOpen_.push_back(file);
}

void Win32Backend::HoldExclusively(const std::string& path) {
  const HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  Check(file != INVALID_HANDLE_VALUE, "holding " + path + " exclusively");
  heldOpen_.push_back(file);
}

std::vector<std::string> Win32Backend::PendingRemovals() {
  const auto bytes = PendingOperations();
  std::vector<std::string> removals;
  if (!bytes) return removals;
  // Pairs of strings, source then target; an empty target means deletion.
  std::vector<std::wstring> strings;
  std::wstring current;
  for (std::size_t at = 0; at + 1 < bytes->size(); at += 2) {
    const wchar_t unit = static_cast<wchar_t>((*bytes)[at] | ((*bytes)[at + 1] << 8));
    if (unit != 0) {
      current += unit;
      continue;
    }
    strings.push_back(current);
    current.clear();
  }
  for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
    std::wstring source = strings[i];
    if (source.empty()) break;  // the list's end
    if (!strings[i + 1].empty()) continue;
    if (source.rfind(L"\\??\\", 0) == 0) source.erase(0, 4);
    removals.push_back(ToUtf8(source));
  }
  return removals;
}

std::optional<std::uint32_t> Win32Backend::AttributesOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

void Win32Backend::SetEnvironment(const std::string& name, const std::string& value) {
  Check(SetEnvironmentVariableW(ToWide(name).c_str(), ToWide(value).c_str()) != 0,
        "setting " + name);
  environment_.push_back(name);
}

std::string Win32Backend::RemovableRoot() {
  const char* drive = std::getenv("QR_REMOVABLE_DRIVE");
  return drive && *drive ? std::string(drive) + "\\" : std::string();
}

}  // namespace platform::tests
