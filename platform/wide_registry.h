#pragma once
// Registry operations of the icon guard: wide-character names, the status
// codes of the Win32 registry functions (0 = ERROR_SUCCESS).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform {

inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorAccessDenied = 5;
inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::int32_t kErrorInvalidParameter = 87;
inline constexpr std::int32_t kErrorMoreData = 234;
inline constexpr std::int32_t kErrorNoMoreItems = 259;

inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyWrite = 0x20006;

class WideRegistry {
 public:
  virtual ~WideRegistry() = default;

  // RegCreateKeyExW: no class, non-volatile; opens the key when it exists.
  virtual std::int32_t CreateKey(RegKey parent, const std::u16string& path,
                                 std::uint32_t access, RegKey* key) = 0;
  // RegOpenKeyExW: symbolic links on the way are followed.
  virtual std::int32_t OpenKey(RegKey parent, const std::u16string& path,
                               std::uint32_t access, RegKey* key) = 0;
  // RegOpenKeyExW with REG_OPTION_OPEN_LINK: a symbolic link at the end of
  // the path is opened itself, links before it are followed.
  virtual std::int32_t OpenKeyNoFollow(RegKey parent, const std::u16string& path,
                                       std::uint32_t access, RegKey* key) = 0;
  virtual void CloseKey(RegKey key) = 0;

  // RegQueryValueExW; an empty name is the default value. `data` may be
  // null to ask for type and size only; `size` is in bytes, in and out.
  virtual std::int32_t QueryValue(RegKey key, const std::u16string& name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) = 0;
  // RegSetValueExW.
  virtual std::int32_t SetValue(RegKey key, const std::u16string& name, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) = 0;
  // RegDeleteValueW.
  virtual std::int32_t DeleteValue(RegKey key, const std::u16string& name) = 0;
  // RegDeleteKeyW: one key without subkeys; a symbolic link at the end of
  // `subkey` is followed and its target deleted.
  virtual std::int32_t DeleteKey(RegKey parent, const std::u16string& subkey) = 0;
  // One key without subkeys, opened with REG_OPTION_OPEN_LINK and deleted
  // through that handle: a symbolic link goes itself, its target stays.
  virtual std::int32_t DeleteKeyNoFollow(RegKey parent, const std::u16string& subkey) = 0;
  // RegEnumKeyExW: the name of the subkey at `index`.
  virtual std::int32_t EnumKey(RegKey key, std::uint32_t index, std::u16string* name) = 0;
  // RegEnumValueW: the value at `index`, its name, type and raw data, with
  // buffers as large as the key's longest name and data.
  virtual std::int32_t EnumValue(RegKey key, std::uint32_t index, std::u16string* name,
                                 std::uint32_t* type, std::vector<std::uint8_t>* data) = 0;
};

}  // namespace platform
