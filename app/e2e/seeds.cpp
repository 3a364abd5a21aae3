#include "app/e2e/seeds.h"

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "app/e2e/shortcut_bytes.h"
#include "platform/win32/wide_text.h"

namespace e2e {
namespace {

constexpr wchar_t kPlaceholder[] =
    L"Quorvex Remover demonstration placeholder. This is plain text, not a driver or a "
    L"program; it only stands where the rootkit would put its file.\r\n";
constexpr const wchar_t* kLoaderFiles[] = {L"mdmcpq3.PNF", L"mdmeric3.PNF", L"oem6C.PNF",
                                           L"oem7A.PNF"};
constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr wchar_t kBystanderFolder[] = L"Backup";

std::wstring Service(const wchar_t* name) { return std::wstring(kServicesKey) + L"\\" + name; }

std::wstring WithSlash(std::wstring root) {
  if (root.empty() || root.back() != L'\\') root += L'\\';
  return root;
}

Bytes Text(std::wstring_view text) {
  const std::string utf8 = platform::win32::ToUtf8(std::wstring(text));
  return Bytes(utf8.begin(), utf8.end());
}

// "MZ" and harmless padding: long enough to count as an executable on
// removable media, yet nothing that could run.
Bytes DisguisedExecutable() {
  Bytes bytes = Text(L"MZ Quorvex Remover demonstration placeholder, not a program.\r\n");
  bytes.resize(1024, '.');
  return bytes;
}

void WriteFile(const std::wstring& path, const Bytes& bytes, DWORD attributes = 0) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + platform::win32::ToUtf8(path));
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr);
  CloseHandle(file);
  if (!ok || written != bytes.size()) throw std::runtime_error("cannot write " + platform::win32::ToUtf8(path));
  if (attributes != 0 && !SetFileAttributesW(path.c_str(), attributes)) {
    throw std::runtime_error("cannot set the attributes of " + platform::win32::ToUtf8(path));
  }
}

void RemoveFile(const std::wstring& path) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
}

void SetValue(const std::wstring& key, const wchar_t* name, DWORD type, const void* data,
              DWORD size) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &handle, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create HKLM\\" + platform::win32::ToUtf8(key));
  }
  const LONG result =
      RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(handle);
  if (result != ERROR_SUCCESS) {
    throw std::runtime_error("cannot set " + platform::win32::ToUtf8(name) + " of HKLM\\" + platform::win32::ToUtf8(key));
  }
}

void SetText(const std::wstring& key, const wchar_t* name, DWORD type, const std::wstring& text) {
  SetValue(key, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void SetDword(const std::wstring& key, const wchar_t* name, DWORD value) {
  SetValue(key, name, REG_DWORD, &value, sizeof value);
}

// A kernel-driver service that Wine's service manager never starts: the
// "driver" is a text file.
void SeedService(const std::wstring& key, DWORD imagePathType, const std::wstring& imagePath) {
  SetText(key, L"ImagePath", imagePathType, imagePath);
  SetDword(key, L"Type", SERVICE_KERNEL_DRIVER);
  SetDword(key, L"Start", SERVICE_DISABLED);
  SetDword(key, L"ErrorControl", SERVICE_ERROR_NORMAL);
}

}  // namespace

std::wstring WindowsDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) throw std::runtime_error("no Windows directory");
  return std::wstring(buffer, length);
}

std::vector<std::wstring> InfectionKeys() { return {Service(L"MrxNet"), Service(L"MrxCls")}; }

std::vector<std::wstring> InfectionFiles() {
  const std::wstring windows = WindowsDirectory();
  std::vector<std::wstring> files = {windows + L"\\system32\\drivers\\mrxnet.sys",
                                     windows + L"\\system32\\drivers\\mrxcls.sys"};
  for (const wchar_t* loader : kLoaderFiles) files.push_back(windows + L"\\inf\\" + loader);
  return files;
}

std::vector<std::wstring> DriveThreatFiles(const std::wstring& root) {
  const std::wstring at = WithSlash(root);
  return {at + L"Photos.lnk", at + L"~WTR4141.TMP", at + L"AUTORUN.INF"};
}

std::vector<std::wstring> DriveBystanderFiles(const std::wstring& root) {
  const std::wstring at = WithSlash(root);
  return {at + L"holiday.jpg", at + L"notes.tmp",   at + L"Drive C.lnk", at + L"setup.inf",
          at + std::wstring(kBystanderFolder) + L"\\AUTORUN.INF",
          at + std::wstring(kBystanderFolder) + L"\\Photos.lnk"};
}

void SeedInfection() {
  const std::wstring windows = WindowsDirectory();
  const std::wstring net = Service(L"MrxNet");
  SeedService(net, REG_SZ, L"\\??\\" + windows + L"\\system32\\Drivers\\mrxnet.sys");
  SetDword(net + L"\\Enum", L"Count", 1);
  SeedService(Service(L"MrxCls"), REG_EXPAND_SZ, L"\\SystemRoot\\System32\\drivers\\mrxcls.sys");

  const std::vector<std::wstring> files = InfectionFiles();
  // The rootkit hides its driver; removal has to clear that first.
  WriteFile(files[0], Text(kPlaceholder), FILE_ATTRIBUTE_READONLY | kHiddenSystem);
  for (std::size_t i = 1; i < files.size(); ++i) WriteFile(files[i], Text(kPlaceholder));
}

void SeedDriveThreats(const std::wstring& root) {
  const std::vector<std::wstring> files = DriveThreatFiles(root);
  WriteFile(files[0], ControlPanelShortcut());
  WriteFile(files[1], DisguisedExecutable(), kHiddenSystem);
  WriteFile(files[2], Text(L"[autorun]\r\nopen=~WTR4141.TMP\r\n"), kHiddenSystem);
}

void SeedDriveBystanders(const std::wstring& root) {
  const std::wstring folder = WithSlash(root) + kBystanderFolder;
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    throw std::runtime_error("cannot create " + platform::win32::ToUtf8(folder));
  }
  const std::vector<std::wstring> files = DriveBystanderFiles(root);
  WriteFile(files[0], Text(L"JFIF holiday picture stand-in\r\n"));
  // A temporary file that is no executable.
  Bytes notes = Text(L"Notes, nothing more.\r\n");
  notes.resize(1024, ' ');
  WriteFile(files[1], notes);
  WriteFile(files[2], DriveShortcut());
  WriteFile(files[3], Text(L"[Version]\r\nSignature=\"$Windows NT$\"\r\n"));
  // Threats below the root, where the scan never looks.
  WriteFile(files[4], Text(L"[autorun]\r\n"));
  WriteFile(files[5], ControlPanelShortcut());
}

void RemoveSeeds(const std::wstring& root) {
  for (const std::wstring& key : InfectionKeys()) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
  }
  for (const std::wstring& file : InfectionFiles()) RemoveFile(file);
  for (const std::wstring& file : DriveThreatFiles(root)) RemoveFile(file);
  for (const std::wstring& file : DriveBystanderFiles(root)) RemoveFile(file);
  RemoveDirectoryW((WithSlash(root) + kBystanderFolder).c_str());
}

}  // namespace e2e
