#pragma once
// File operations of the scanner and cleaner. Paths are UTF-8.

#include <cstddef>
#include <cstdint>
#include <memory>
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

// Win32 error codes a caller decides on.
inline constexpr std::uint32_t kFileErrorNotFound = 2;
inline constexpr std::uint32_t kFileErrorPathNotFound = 3;
inline constexpr std::uint32_t kFileErrorAccessDenied = 5;
inline constexpr std::uint32_t kFileErrorSharingViolation = 32;
inline constexpr std::uint32_t kFileErrorLockViolation = 33;
inline constexpr std::uint32_t kFileErrorDiskFull = 112;

// The outcome of a file operation: 0 or the system's error code.
struct FileResult {
  std::uint32_t error = 0;
  explicit operator bool() const { return error == 0; }
};

// A file opened for reading while others may go on reading, writing and
// deleting it (a copy of a file in use must still be possible).
class FileReader {
 public:
  virtual ~FileReader() = default;
  // The size when it was opened.
  virtual std::uint64_t Size() const = 0;
  // Moves to `offset` from the start.
  virtual bool Seek(std::uint64_t offset) = 0;
  // Reads up to `count` bytes; 0 at the end, nullopt on an error.
  virtual std::optional<std::size_t> Read(std::uint8_t* buffer, std::size_t count) = 0;
};

// A file being written; closed when destroyed.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Writes all `count` bytes or fails (a full disk among the reasons).
  virtual bool Write(const std::uint8_t* bytes, std::size_t count) = 0;
  // FlushFileBuffers: true once everything written is on the disk.
  virtual bool Flush() = 0;
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
  virtual FileResult RemoveFile(const std::string& path) = 0;

  // GetFileAttributes of a file or directory; nullopt when it is missing.
  virtual std::optional<std::uint32_t> GetAttributes(const std::string& path) = 0;
  // Opens an existing file for reading, sharing it fully; null on failure.
  virtual std::unique_ptr<FileReader> OpenReader(const std::string& path) = 0;
  // Creates a file for writing, denying others any access while it is
  // open: a new one only (CREATE_NEW), or replacing an existing one with
  // `replace`. Null on failure.
  virtual std::unique_ptr<FileWriter> CreateWriter(const std::string& path, bool replace) = 0;
  // CreateDirectory; true also when the directory exists already.
  virtual bool MakeDirectory(const std::string& path) = 0;
  // CreateDirectory with a security descriptor that lets only SYSTEM and
  // the Administrators in, owned by the Administrators and inheriting
  // nothing. A directory that exists already counts only when it is no
  // junction and SYSTEM, the Administrators or this process's own user
  // owns it: one another user made first could be changed behind the
  // program's back.
  virtual bool MakeAdministratorsDirectory(const std::string& path) = 0;
  // MoveFileEx(from, to, MOVEFILE_REPLACE_EXISTING): `to` becomes `from`
  // in one step, whatever file it was before.
  virtual bool MoveOver(const std::string& from, const std::string& to) = 0;
  // MoveFileEx(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT): deleted when the
  // system next starts.
  virtual bool RemoveAtRestart(const std::string& path) = 0;
};

}  // namespace platform
