#pragma once
// The registry through the W functions: UTF-8 names for the scanner,
// UTF-16 names and raw status codes for the icon guard.

#include <map>
#include <mutex>

#include "platform/registry.h"
#include "platform/wide_registry.h"

namespace platform::win32 {

class Win32Registry : public Registry, public WideRegistry {
 public:
  // Registry
  std::optional<RegKey> OpenKey(RegKey parent, const std::string& path) override;
  std::optional<RegKey> OpenKeyNoFollow(RegKey parent, const std::string& path) override;
  void CloseKey(RegKey key) override;
  bool ValueExists(RegKey key, const std::string& name) override;
  std::optional<std::string> ReadString(RegKey key, const std::string& name) override;
  std::optional<KeyInfo> QueryKeyInfo(RegKey key) override;
  std::optional<std::string> EnumKey(RegKey key, std::uint32_t index,
                                     std::uint32_t bufferLength) override;
  bool DeleteKeyNoFollow(RegKey parent, const std::string& subkey) override;

  // WideRegistry
  std::int32_t CreateKey(RegKey parent, const std::u16string& path, std::uint32_t access,
                         RegKey* key) override;
  std::int32_t OpenKey(RegKey parent, const std::u16string& path, std::uint32_t access,
                       RegKey* key) override;
  std::int32_t OpenKeyNoFollow(RegKey parent, const std::u16string& path, std::uint32_t access,
                               RegKey* key) override;
  std::int32_t QueryValue(RegKey key, const std::u16string& name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) override;
  std::int32_t SetValue(RegKey key, const std::u16string& name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) override;
  std::int32_t DeleteValue(RegKey key, const std::u16string& name) override;
  std::int32_t DeleteKey(RegKey parent, const std::u16string& subkey) override;
  std::int32_t DeleteKeyNoFollow(RegKey parent, const std::u16string& subkey) override;
  std::int32_t EnumKey(RegKey key, std::uint32_t index, std::u16string* name) override;
  std::int32_t EnumValue(RegKey key, std::uint32_t index, std::u16string* name,
                         std::uint32_t* type, std::vector<std::uint8_t>* data) override;

 private:
  // The three access levels in turn; `options` is 0 or REG_OPTION_OPEN_LINK.
  std::optional<RegKey> OpenWithFallback(RegKey parent, const std::string& path,
                                         std::uint32_t options);

  // The root below which each key opened with a UTF-8 path lies, so that a
  // path with a leading backslash can start from it.
  std::map<RegKey, RegKey> rootOf_;
  std::mutex mutex_;
};

}  // namespace platform::win32
