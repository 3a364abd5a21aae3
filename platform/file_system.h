#pragma once
// File operations of the scanner and cleaner. Paths are UTF-8.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

inline constexpr std::uint32_t kAttributeReadOnly = 0x01;
inline constexpr std::uint32_t kAttributeHidden = 0x02;
inline constexpr std::uint32_t kAttributeSystem = 0x04;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeArchive = 0x20;
inline constexpr std::uint32_t kAttributeNormal = 0x80;

struct DirEntry {
  std::string name;  // as the listing spells it
  std::uint32_t attributes = 0;
};

// The size of a file and its first bytes (at most as many as were asked for).
struct FileHead {
  std::uint64_t size = 0;
  std::vector<std::uint8_t> bytes;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // GetWindowsDirectory into a buffer of 255 characters; nullopt on failure.
  virtual std::optional<std::string> WindowsDirectory() = 0;
  // ExpandEnvironmentStrings into a buffer of 260 characters; nullopt when
  // the call fails or the expansion does not fit.
  virtual std::optional<std::string> ExpandEnvironment(const std::string& text) = 0;
  // FindFirstFile finds `path` and the entry found is not a directory.
  virtual bool FileExists(const std::string& path) = 0;
  // FindFirstFile/FindNextFile over `pattern` (such as "E:\*.*"), every
  // attribute accepted. An error ends the listing; entries listed before it
  // are returned.
  virtual std::vector<DirEntry> ListDirectory(const std::string& pattern) = 0;
  // Opens the file for reading while denying others write access and reads
  // its size and its first `maxBytes` bytes; nullopt when it cannot be
  // opened or read.
  virtual std::optional<FileHead> ReadHead(const std::string& path, std::size_t maxBytes) = 0;
  // SetFileAttributes; `path` may carry the "\\?\" prefix.
  virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // DeleteFile.
  virtual bool RemoveFile(const std::string& path) = 0;
};

}  // namespace platform
