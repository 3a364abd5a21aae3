#pragma once
// What a contract test needs from one backend: the platform objects under
// test and a way to seed and inspect a scratch area beside them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "platform/wide_registry.h"

namespace platform::tests {

// Seeded keys live below HKEY_CURRENT_USER\<kScratchKey>.
inline constexpr const char* kScratchKey = "Software\\QrContractTest";
inline constexpr const char16_t* kScratchKeyWide = u"Software\\QrContractTest";

class ContractBackend {
 public:
  virtual ~ContractBackend() = default;

  virtual Registry& registry() = 0;
  virtual WideRegistry& wideRegistry() = 0;
  virtual FileSystem& files() = 0;
  virtual Drives& drives() = 0;
  virtual ProcessToken& token() = 0;
  virtual Text& text() = 0;

  // Registry seeding; paths are relative to HKEY_CURRENT_USER.
  virtual void SeedKey(const std::string& path) = 0;
  virtual void SeedValue(const std::string& path, const std::string& name, std::uint32_t type,
                         const std::vector<std::uint8_t>& data) = 0;
  // A symbolic link at `path` to `target`, an absolute registry path
  // ("\Registry\Machine\..." or UserRoot() + "\...").
  virtual void SeedLink(const std::string& path, const std::string& target) = 0;
  // HKEY_CURRENT_USER as a link target names it: "\Registry\User\<SID>".
  virtual std::string UserRoot() = 0;
  // Whether the key exists; a link at the end of `path` counts itself.
  virtual bool KeyPresent(const std::string& path) = 0;

  // A fresh, empty directory ("X:\...", no trailing backslash).
  virtual std::string ScratchDirectory() = 0;
  virtual void SeedFile(const std::string& path, const std::vector<std::uint8_t>& content,
                        std::uint32_t attributes) = 0;
  virtual void SeedDirectory(const std::string& path) = 0;
  // Another party holds the file open for writing, sharing reads and
  // writes but not deletion, from now on.
  virtual void HoldOpenForWriting(const std::string& path) = 0;
  // Another party holds the file open sharing nothing, from now on.
  virtual void HoldExclusively(const std::string& path) = 0;
  // The files the system will delete when it next starts, in order; the
  // backend forgets them again when it goes.
  virtual std::vector<std::string> PendingRemovals() = 0;
  virtual std::optional<std::uint32_t> AttributesOf(const std::string& path) = 0;
  virtual void SetEnvironment(const std::string& name, const std::string& value) = 0;

  // "R:\" or such: the root of an empty removable drive; "" when there is none.
  virtual std::string RemovableRoot() = 0;
};

// UTF-16LE bytes of `text` with its terminator, as registry strings are kept.
std::vector<std::uint8_t> StringData(const std::u16string& text);

}  // namespace platform::tests
