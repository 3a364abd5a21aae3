#pragma once
// Drive enumeration and the process error mode.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

inline constexpr std::uint32_t kDriveUnknown = 0;
inline constexpr std::uint32_t kDriveNoRootDir = 1;
inline constexpr std::uint32_t kDriveRemovable = 2;
inline constexpr std::uint32_t kDriveFixed = 3;
inline constexpr std::uint32_t kDriveRemote = 4;
inline constexpr std::uint32_t kDriveCdRom = 5;
inline constexpr std::uint32_t kDriveRamDisk = 6;

inline constexpr std::uint32_t kSemFailCriticalErrors = 1;

class Drives {
 public:
  virtual ~Drives() = default;

  // SetErrorMode: sets `mode` and returns the previous mode.
  virtual std::uint32_t SetErrorMode(std::uint32_t mode) = 0;
  // GetLogicalDriveStrings into a buffer of 1024 characters: the root
  // strings ("A:\") each followed by a NUL, ended by an empty string.
  // nullopt when the call fails.
  virtual std::optional<std::string> LogicalDriveStrings() = 0;
  // GetDriveType of a root string.
  virtual std::uint32_t DriveType(const std::string& root) = 0;
};

}  // namespace platform
