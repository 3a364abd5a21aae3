#pragma once
// The contract tests' view of the real machine: seeding through raw Win32
// calls in a scratch key and a fresh temporary directory, both removed
// before and after each test.

#include <vector>

#include "platform/tests/contract_backend.h"
#include "platform/win32/win32_machine.h"

namespace platform::tests {

class Win32Backend : public ContractBackend {
 public:
  Win32Backend();
  ~Win32Backend() override;

  Registry& registry() override { return machine_.registry; }
  WideRegistry& wideRegistry() override { return machine_.registry; }
  FileSystem& files() override { return machine_.files; }
  Drives& drives() override { return machine_.drives; }
  ProcessToken& token() override { return machine_.token; }
  Text& text() override { return machine_.text; }

  void SeedKey(const std::string& path) override;
  void SeedValue(const std::string& path, const std::string& name, std::uint32_t type,
                 const std::vector<std::uint8_t>& data) override;
  void SeedLink(const std::string& path, const std::string& target) override;
  std::string UserRoot() override;
  bool KeyPresent(const std::string& path) override;

  std::string ScratchDirectory() override { return scratch_; }
  void SeedFile(const std::string& path, const std::vector<std::uint8_t>& content,
                std::uint32_t attributes) override;
  void SeedDirectory(const std::string& path) override;
  void HoldOpenForWriting(const std::string& path) override;
  void HoldExclusively(const std::string& path) override;
  std::vector<std::string> PendingRemovals() override;
  std::optional<std::uint32_t> AttributesOf(const std::string& path) override;
  void SetEnvironment(const std::string& name, const std::string& value) override;
  std::string RemovableRoot() override;

 private:
  win32::Win32Machine machine_;
  std::string scratch_;
  std::vector<std::string> seededFiles_;  // outside the scratch directory too
  std::vector<void*> heldOpen_;
  std::vector<std::string> environment_;
  // PendingFileRenameOperations as it was before the test, put back after it.
  std::optional<std::vector<std::uint8_t>> pendingBefore_;
};

}  // namespace platform::tests
