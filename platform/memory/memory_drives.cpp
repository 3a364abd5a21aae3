#include <cctype>

#include "platform/memory/memory_machine.h"

namespace platform::memory {
namespace {

constexpr std::size_t kDriveStringsBuffer = 1024;

std::string UpperAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

void MemoryDrives::AddDrive(const std::string& root, std::uint32_t type) {
  drives_[UpperAscii(root)] = type;
}

void MemoryDrives::FailDriveStrings(bool fail) { failDriveStrings_ = fail; }

std::uint32_t MemoryDrives::SetErrorMode(std::uint32_t mode) {
  errorModeCalls_.push_back(mode);
  const std::uint32_t previous = errorMode_;
  errorMode_ = mode;
  return previous;
}

std::optional<std::string> MemoryDrives::LogicalDriveStrings() {
  if (failDriveStrings_) return std::nullopt;
  std::string strings;
  for (const auto& [root, type] : drives_) strings += root + '\0';
  strings += '\0';
  // A list that does not fit the buffer is not written at all.
  if (strings.size() > kDriveStringsBuffer) return std::nullopt;
  return strings;
}

std::uint32_t MemoryDrives::DriveType(const std::string& root) {
  const auto it = drives_.find(UpperAscii(root));
  return it == drives_.end() ? kDriveNoRootDir : it->second;
}

}  // namespace platform::memory
