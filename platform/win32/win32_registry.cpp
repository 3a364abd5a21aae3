#include "platform/win32/win32_registry.h"

#include <vector>

#include "platform/win32/registry_handles.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

std::optional<RegKey> Win32Registry::OpenKey(RegKey parent, const std::string& path) {
  return OpenWithFallback(parent, path, 0);
}

std::optional<RegKey> Win32Registry::OpenKeyNoFollow(RegKey parent, const std::string& path) {
  return OpenWithFallback(parent, path, REG_OPTION_OPEN_LINK);
}

std::optional<RegKey> Win32Registry::OpenWithFallback(RegKey parent, const std::string& path,
                                                      std::uint32_t options) {
  std::string relative = path;
  RegKey root = parent;
  if (!IsRoot(parent)) {
    std::lock_guard lock(mutex_);
    const auto it = rootOf_.find(parent);
    root = it == rootOf_.end() ? 0 : it->second;
  }
  if (!relative.empty() && relative.front() == '\\') {
    if (root == 0) return std::nullopt;
    parent = root;
    relative.erase(0, 1);
  }
  const std::wstring wide = ToWide(relative);
  for (const DWORD access : {kKeyAllAccess, kKeyReadCreateSet, kKeyRead}) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(ToHkey(parent), wide.c_str(), options, access, &key) == ERROR_SUCCESS) {
      std::lock_guard lock(mutex_);
      rootOf_[FromHkey(key)] = root;
      return FromHkey(key);
    }
  }
  return std::nullopt;
}

void Win32Registry::CloseKey(RegKey key) {
  if (IsRoot(key) || key == 0) return;
  {
    std::lock_guard lock(mutex_);
    rootOf_.erase(key);
  }
  RegCloseKey(ToHkey(key));
}

bool Win32Registry::ValueExists(RegKey key, const std::string& name) {
  return RegQueryValueExW(ToHkey(key), ToWide(name).c_str(), nullptr, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS;
}

std::optional<std::string> Win32Registry::ReadString(RegKey key, const std::string& name) {
  const std::wstring wideName = ToWide(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The value may grow between the two calls; ask again with the new size.
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::vector<BYTE> data(size + sizeof(wchar_t));
    DWORD got = size;
    const LONG status =
        RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &type, data.data(), &got);
    if (status == ERROR_MORE_DATA) {
      size = got;
      continue;
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::wstring text;
    for (DWORD i = 0; i + 1 < got; i += 2) {
      const auto c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
      if (c == L'\0') break;
      text += c;
    }
    return ToUtf8(text);
  }
  return std::nullopt;
}

std::optional<KeyInfo> Win32Registry::QueryKeyInfo(RegKey key) {
  DWORD subkeys = 0;
  DWORD maxLength = 0;
  if (RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, &subkeys, &maxLength, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return KeyInfo{subkeys, maxLength};
}

std::optional<std::string> Win32Registry::EnumKey(RegKey key, std::uint32_t index,
                                                  std::uint32_t bufferLength) {
  if (bufferLength == 0) return std::nullopt;
  std::vector<wchar_t> name(bufferLength);
  DWORD length = bufferLength;
  if (RegEnumKeyExW(ToHkey(key), index, name.data(), &length, nullptr, nullptr, nullptr,
                    nullptr) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return ToUtf8(std::wstring(name.data(), length));
}

bool Win32Registry::DeleteKeyNoFollow(RegKey parent, const std::string& subkey) {
  const std::wstring wide = ToWide(subkey);
  return DeleteKeyNoFollow(parent, std::u16string(wide.begin(), wide.end())) == kErrorSuccess;
}

}  // namespace platform::win32
