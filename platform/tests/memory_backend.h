#pragma once
// The contract tests' view of the in-memory machine.

#include "platform/memory/memory_machine.h"
#include "platform/tests/contract_backend.h"

namespace platform::tests {

class MemoryBackend : public ContractBackend {
 public:
  MemoryBackend();

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

  std::string ScratchDirectory() override { return "C:\\Temp\\QrContractTest"; }
  void SeedFile(const std::string& path, const std::vector<std::uint8_t>& content,
                std::uint32_t attributes) override;
  void SeedDirectory(const std::string& path) override;
  void HoldOpenForWriting(const std::string& path) override;
  void HoldExclusively(const std::string& path) override;
  std::vector<std::string> PendingRemovals() override;
  std::optional<std::uint32_t> AttributesOf(const std::string& path) override;
  void SetEnvironment(const std::string& name, const std::string& value) override;
  std::string RemovableRoot() override { return "R:\\"; }

 private:
  memory::MemoryMachine machine_;
};

}  // namespace platform::tests
