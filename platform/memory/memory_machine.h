#pragma once
// An in-memory Windows machine for tests: registry tree, files, drives,
// process token and upper-casing. Each part implements its platform
// interface; the seeding and inspection members build scenarios and read
// back what the code under test did.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "platform/wide_registry.h"

namespace platform::memory {

// How far a key lets itself be opened.
enum class KeyAccess {
  Full,      // every access level succeeds
  ReadOnly,  // only kKeyRead (and narrower) succeeds; deleting it fails
  Denied,    // cannot be opened at all
};

// The security identifier of the machine's one user: HKEY_CURRENT_USER is
// "\Registry\User\<it>" to a symbolic link (the same as Wine's).
inline constexpr const char* kCurrentUserSid = "S-1-5-21-0-0-0-1000";

// One registry tree serving both the scanner's and the icon guard's
// interfaces. Names compare case-insensitively and keep their case.
class MemoryRegistry : public Registry, public WideRegistry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  // Seeding: paths are relative to a root, without a leading backslash,
  // intermediate keys are created.
  void AddKey(RegKey root, const std::string& path);
  void SetValue(RegKey root, const std::string& path, const std::string& name,
                std::uint32_t type, const std::vector<std::uint8_t>& data);
  // Stores UTF-8 text as the UTF-16LE data Windows keeps, with its terminator.
  void SetString(RegKey root, const std::string& path, const std::string& name,
                 const std::string& text, std::uint32_t type = kRegSz);
  void SetKeyAccess(RegKey root, const std::string& path, KeyAccess access);
  // A symbolic link at `path` (a new key) to `target`, an absolute registry
  // path such as "\Registry\Machine\Software\X"; the target need not exist.
  void AddLink(RegKey root, const std::string& path, const std::string& target);

  // Inspection.
  // Whether the key exists; a link at the end of `path` counts itself.
  bool HasKey(RegKey root, const std::string& path) const;
  std::optional<std::vector<std::uint8_t>> ValueData(RegKey root, const std::string& path,
                                                     const std::string& name) const;
  std::optional<std::uint32_t> ValueType(RegKey root, const std::string& path,
                                         const std::string& name) const;
  // The whole tree as sorted text, one line per key and value, for
  // before/after comparisons.
  std::string Dump() const;
  // Keys opened and not yet closed.
  std::size_t OpenHandleCount() const;

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
  // The three access levels in turn, as OpenKey and OpenKeyNoFollow try them.
  std::optional<RegKey> OpenWithFallback(RegKey parent, const std::string& path, bool followLast);

  struct State;
  std::unique_ptr<State> state_;
};

// Who else holds a file open.
enum class FileLock {
  None,
  // Open for writing, sharing reads and writes but not deletion: it can be
  // copied but neither read with writes denied nor deleted nor renamed.
  HeldOpenForWriting,
  // Open without any sharing: nothing can be done with it.
  Exclusive,
};

class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem();
  ~MemoryFileSystem() override;

  // Seeding. Paths are full Windows paths ("C:\WINDOWS\inf\x.PNF"), read
  // as the system reads them: normalised, or taken literally after the
  // "\\?\" prefix (the only way to make a name ending in a dot or a
  // space); parent directories are created. A new machine reports
  // "C:\WINDOWS" as its Windows directory (not created) and has SystemRoot
  // and windir set to it, and ProgramData set to "C:\ProgramData", which
  // exists; nothing else.
  void SetWindowsDirectory(std::optional<std::string> directory);
  void SetEnvironment(const std::string& name, const std::string& value);
  void AddFile(const std::string& path, const std::vector<std::uint8_t>& content,
               std::uint32_t attributes = kAttributeArchive);
  // A file of `size` bytes whose first bytes are `head` (the rest zero),
  // without holding `size` bytes in memory.
  void AddSparseFile(const std::string& path, std::uint64_t size,
                     const std::vector<std::uint8_t>& head);
  void AddDirectory(const std::string& path);
  // A directory another user made (and owns), with its parents.
  void AddUserDirectory(const std::string& path);
  // A file that exists and is listed but cannot be opened, read or deleted.
  void LockFile(const std::string& path);
  // A file another process holds open for writing (FileLock::HeldOpenForWriting).
  void HoldOpenForWriting(const std::string& path);
  // Writes to `drive` ("C:") fail once `bytes` more have been written.
  void SetFreeSpace(const std::string& drive, std::uint64_t bytes);
  // Paths handed to RemoveAtRestart, in order.
  const std::vector<std::string>& PendingRemovals() const;
  // The system restarts: every lock ends and the pending removals happen.
  void Restart();
  // A directory whose listing fails after `entriesBeforeError` entries.
  void FailListing(const std::string& directory, std::size_t entriesBeforeError = 0);

  // Inspection.
  bool Exists(const std::string& path) const;
  std::optional<std::uint32_t> Attributes(const std::string& path) const;
  std::string Dump() const;
  // The largest byte count any single read asked for.
  std::size_t LargestRead() const;

  std::optional<std::string> WindowsDirectory() override;
  std::optional<std::string> ExpandEnvironment(const std::string& text) override;
  bool FileExists(const std::string& path) override;
  std::vector<DirEntry> ListDirectory(const std::string& pattern) override;
  std::optional<FileHead> ReadHead(const std::string& path, std::size_t maxBytes) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  FileResult RemoveFile(const std::string& path) override;
  std::optional<std::uint32_t> GetAttributes(const std::string& path) override;
  std::unique_ptr<FileReader> OpenReader(const std::string& path) override;
  std::unique_ptr<FileWriter> CreateWriter(const std::string& path, bool replace) override;
  bool MakeDirectory(const std::string& path) override;
  bool MakeAdministratorsDirectory(const std::string& path) override;
  bool MoveOver(const std::string& from, const std::string& to) override;
  bool RemoveAtRestart(const std::string& path) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

class MemoryDrives : public Drives {
 public:
  // `root` such as "E:\"; drives are reported in alphabetical order.
  void AddDrive(const std::string& root, std::uint32_t type);
  void FailDriveStrings(bool fail);
  std::uint32_t ErrorMode() const { return errorMode_; }
  // Every mode passed to SetErrorMode, in order.
  const std::vector<std::uint32_t>& ErrorModeCalls() const { return errorModeCalls_; }

  std::uint32_t SetErrorMode(std::uint32_t mode) override;
  std::optional<std::string> LogicalDriveStrings() override;
  std::uint32_t DriveType(const std::string& root) override;

 private:
  std::map<std::string, std::uint32_t> drives_;
  bool failDriveStrings_ = false;
  std::uint32_t errorMode_ = 0;
  std::vector<std::uint32_t> errorModeCalls_;
};

class MemoryProcessToken : public ProcessToken {
 public:
  void SetOpenFails(bool fails) { openFails_ = fails; }
  // Whether the token holds "SeShutdownPrivilege"; without it the
  // adjustment succeeds with ERROR_NOT_ALL_ASSIGNED (1300), as Windows does.
  void SetHoldsShutdownPrivilege(bool holds) { holdsShutdown_ = holds; }
  bool ShutdownPrivilegeEnabled() const { return shutdownEnabled_; }
  struct ExitRequest {
    std::uint32_t flags;
    std::uint32_t reason;
  };
  const std::vector<ExitRequest>& ExitRequests() const { return exitRequests_; }
  std::size_t OpenTokenCount() const { return openTokens_; }

  std::optional<TokenHandle> OpenProcessToken(std::uint32_t desiredAccess) override;
  std::optional<Luid> LookupPrivilege(const std::string& name) override;
  AdjustResult AdjustPrivilege(TokenHandle token, Luid privilege,
                               std::uint32_t attributes) override;
  void CloseToken(TokenHandle token) override;
  bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;

 private:
  bool openFails_ = false;
  bool holdsShutdown_ = true;
  bool shutdownEnabled_ = false;
  std::map<TokenHandle, std::uint32_t> tokens_;  // open handle -> granted access
  TokenHandle nextToken_ = 0x40;
  std::size_t openTokens_ = 0;
  std::vector<ExitRequest> exitRequests_;
};

// Upper-cases ASCII and the Latin-1 letters, as Windows does in the usual
// Western locales.
class MemoryText : public Text {
 public:
  std::string UpperCase(const std::string& text) override;
};

// A clock that shows what it was set to.
class MemoryClock : public Clock {
 public:
  void Set(std::int64_t utcSeconds) { now_ = utcSeconds; }
  std::int64_t UtcSeconds() override { return now_; }

 private:
  std::int64_t now_ = 1796860800;  // 2026-12-10 00:00 UTC
};

// The whole machine, ready to hand to the scanner and the workflow.
struct MemoryMachine {
  MemoryRegistry registry;
  MemoryFileSystem files;
  MemoryDrives drives;
  MemoryProcessToken token;
  MemoryText text;
  MemoryClock clock;

  Machine machine() { return Machine{registry, files, drives, token, text, registry, clock}; }
  // Registry and files together, for "nothing else was touched" checks.
  std::string Snapshot() const { return registry.Dump() + "\n" + files.Dump(); }
};

}  // namespace platform::memory
