#pragma once
// Files through the W functions; paths are UTF-8 at the interface.

#include "platform/file_system.h"

namespace platform::win32 {

class Win32FileSystem : public FileSystem {
 public:
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
};

}  // namespace platform::win32
