// The wide-character half of Win32Registry: each call is the W function
// itself, its status passed through.

#include <winternl.h>

#include "platform/win32/registry_handles.h"
#include "platform/win32/win32_registry.h"

// Deletes the key behind an open handle: the only way to delete a symbolic
// link itself, since RegDeleteKeyW opens the name and so follows the link.
extern "C" NTSTATUS NTAPI NtDeleteKey(HANDLE key);

namespace platform::win32 {
namespace {

// The longest key name the registry allows, plus its terminator.
constexpr DWORD kKeyNameBuffer = 256;

}  // namespace

std::int32_t Win32Registry::CreateKey(RegKey parent, const std::u16string& path,
                                      std::uint32_t access, RegKey* key) {
  HKEY created = nullptr;
  const LONG status = RegCreateKeyExW(ToHkey(parent), Wide(path), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, access, nullptr, &created, nullptr);
  if (status == ERROR_SUCCESS) *key = FromHkey(created);
  return status;
}

std::int32_t Win32Registry::OpenKey(RegKey parent, const std::u16string& path,
                                    std::uint32_t access, RegKey* key) {
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExW(ToHkey(parent), Wide(path), 0, access, &opened);
  if (status == ERROR_SUCCESS) *key = FromHkey(opened);
  return status;
}

std::int32_t Win32Registry::OpenKeyNoFollow(RegKey parent, const std::u16string& path,
                                            std::uint32_t access, RegKey* key) {
  HKEY opened = nullptr;
  const LONG status =
      RegOpenKeyExW(ToHkey(parent), Wide(path), REG_OPTION_OPEN_LINK, access, &opened);
  if (status == ERROR_SUCCESS) *key = FromHkey(opened);
  return status;
}

std::int32_t Win32Registry::QueryValue(RegKey key, const std::u16string& name,
                                       std::uint32_t* type, std::uint8_t* data,
                                       std::uint32_t* size) {
  DWORD typeOut = type ? *type : 0;
  DWORD sizeOut = size ? *size : 0;
  const LONG status = RegQueryValueExW(ToHkey(key), Wide(name), nullptr, type ? &typeOut : nullptr,
                                       data, size ? &sizeOut : nullptr);
  if (type) *type = typeOut;
  if (size) *size = sizeOut;
  return status;
}

std::int32_t Win32Registry::SetValue(RegKey key, const std::u16string& name, std::uint32_t type,
                                     const std::uint8_t* data, std::uint32_t size) {
  return RegSetValueExW(ToHkey(key), Wide(name), 0, type, data, size);
}

std::int32_t Win32Registry::DeleteValue(RegKey key, const std::u16string& name) {
  return RegDeleteValueW(ToHkey(key), Wide(name));
}

std::int32_t Win32Registry::DeleteKey(RegKey parent, const std::u16string& subkey) {
  return RegDeleteKeyW(ToHkey(parent), Wide(subkey));
}

std::int32_t Win32Registry::DeleteKeyNoFollow(RegKey parent, const std::u16string& subkey) {
  // An empty name would reopen a predefined root itself.
  if (IsRoot(parent) && subkey.empty()) return ERROR_ACCESS_DENIED;
  HKEY key = nullptr;
  LONG status = RegOpenKeyExW(ToHkey(parent), Wide(subkey), REG_OPTION_OPEN_LINK, DELETE, &key);
  if (status != ERROR_SUCCESS) return status;
  status = static_cast<LONG>(RtlNtStatusToDosError(NtDeleteKey(key)));
  RegCloseKey(key);
  return status;
}

std::int32_t Win32Registry::EnumKey(RegKey key, std::uint32_t index, std::u16string* name) {
  wchar_t buffer[kKeyNameBuffer];
  DWORD length = kKeyNameBuffer;
  const LONG status =
      RegEnumKeyExW(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) {
    name->assign(reinterpret_cast<const char16_t*>(buffer), length);
  }
  return status;
}

std::int32_t Win32Registry::EnumValue(RegKey key, std::uint32_t index, std::u16string* name,
                                      std::uint32_t* type, std::vector<std::uint8_t>* data) {
  DWORD longestName = 0;
  DWORD longestData = 0;
  LONG status = RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, &longestName, &longestData, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return status;
  std::wstring nameBuffer(longestName + 1, L'\0');
  std::vector<std::uint8_t> dataBuffer(longestData);
  DWORD nameLength = longestName + 1;
  DWORD dataLength = longestData;
  DWORD typeOut = 0;
  status = RegEnumValueW(ToHkey(key), index, nameBuffer.data(), &nameLength, nullptr, &typeOut,
                         dataBuffer.empty() ? nullptr : dataBuffer.data(), &dataLength);
  if (status != ERROR_SUCCESS) return status;
  name->assign(reinterpret_cast<const char16_t*>(nameBuffer.data()), nameLength);
  *type = typeOut;
  dataBuffer.resize(dataLength);
  *data = std::move(dataBuffer);
  return ERROR_SUCCESS;
}

}  // namespace platform::win32
