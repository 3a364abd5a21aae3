#include "platform/tests/memory_backend.h"

namespace platform::tests {

MemoryBackend::MemoryBackend() {
  // Shaped like the Wine session the Windows build runs in.
  machine_.drives.AddDrive("C:\\", kDriveFixed);
  machine_.drives.AddDrive("R:\\", kDriveRemovable);
  machine_.drives.AddDrive("Z:\\", kDriveFixed);
  machine_.files.AddDirectory("C:\\WINDOWS");
  machine_.files.AddDirectory("R:\\");
  machine_.files.AddDirectory(ScratchDirectory());
}

void MemoryBackend::SeedKey(const std::string& path) { machine_.registry.AddKey(kCurrentUser, path); }

void MemoryBackend::SeedValue(const std::string& path, const std::string& name,
                              std::uint32_t type, const std::vector<std::uint8_t>& data) {
  machine_.registry.SetValue(kCurrentUser, path, name, type, data);
}

void MemoryBackend::SeedLink(const std::string& path, const std::string& target) {
  machine_.registry.AddLink(kCurrentUser, path, target);
}

std::string MemoryBackend::UserRoot() {
  return std::string("\\Registry\\User\\") + memory::kCurrentUserSid;
}

bool MemoryBackend::KeyPresent(const std::string& path) {
  return machine_.registry.HasKey(kCurrentUser, path);
}

void MemoryBackend::SeedFile(const std::string& path, const std::vector<std::uint8_t>& content,
                             std::uint32_t attributes) {
  machine_.files.AddFile(path, content, attributes);
}

void MemoryBackend::SeedDirectory(const std::string& path) { machine_.files.AddDirectory(path); }

void MemoryBackend::HoldOpenForWriting(const std::string& path) {
  machine_.files.HoldOpenForWriting(path);
}

void MemoryBackend::HoldExclusively(const std::string& path) { machine_.files.LockFile(path); }

std::vector<std::string> MemoryBackend::PendingRemovals() {
  return machine_.files.PendingRemovals();
}

std::optional<std::uint32_t> MemoryBackend::AttributesOf(const std::string& path) {
  return machine_.files.Attributes(path);
}

void MemoryBackend::SetEnvironment(const std::string& name, const std::string& value) {
  machine_.files.SetEnvironment(name, value);
}

}  // namespace platform::tests
