#pragma once
// Registry operations of the scanner and cleaner. Names and data are UTF-8.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// An open key or one of the predefined roots; 0 never names a key.
using RegKey = std::uint64_t;
inline constexpr RegKey kClassesRoot = 0x80000000;
inline constexpr RegKey kCurrentUser = 0x80000001;
inline constexpr RegKey kLocalMachine = 0x80000002;

// Access levels tried in turn when an existing key is opened.
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kKeyReadCreateSet = 0x2001F;
inline constexpr std::uint32_t kKeyRead = 0x20019;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegLink = 6;

struct KeyInfo {
  std::uint32_t subkeyCount = 0;
  std::uint32_t maxSubkeyNameLength = 0;  // characters, without the terminator
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens an existing key below `parent` (a root or an open key), trying
  // kKeyAllAccess, kKeyReadCreateSet and kKeyRead in that order. Never
  // creates. A path beginning with a backslash is taken from the root.
  // Symbolic links on the way are followed, as RegOpenKeyEx does.
  virtual std::optional<RegKey> OpenKey(RegKey parent, const std::string& path) = 0;
  // The same, except that a symbolic link at the end of the path is opened
  // itself (REG_OPTION_OPEN_LINK) instead of its target. Links before the
  // last part are still followed. Below such a link nothing is listed.
  virtual std::optional<RegKey> OpenKeyNoFollow(RegKey parent, const std::string& path) = 0;
  virtual void CloseKey(RegKey key) = 0;

  virtual bool ValueExists(RegKey key, const std::string& name) = 0;
  // The data of a REG_SZ or REG_EXPAND_SZ value up to its first NUL, not
  // expanded; a value of size 0 reads as "". Any other type is an error.
  virtual std::optional<std::string> ReadString(RegKey key, const std::string& name) = 0;

  virtual std::optional<KeyInfo> QueryKeyInfo(RegKey key) = 0;
  // The name of the subkey at `index`, read into a buffer of
  // `bufferLength` characters (the terminator included).
  virtual std::optional<std::string> EnumKey(RegKey key, std::uint32_t index,
                                             std::uint32_t bufferLength) = 0;
  // Deletes one key without subkeys below `parent`. A symbolic link at the
  // end of `subkey` is deleted itself, never its target (RegDeleteKey would
  // follow it and delete the target).
  virtual bool DeleteKeyNoFollow(RegKey parent, const std::string& subkey) = 0;

  bool KeyExists(RegKey parent, const std::string& path) {
    const auto key = OpenKey(parent, path);
    if (!key) return false;
    CloseKey(*key);
    return true;
  }
};

}  // namespace platform
