#pragma once
// A program started as a user starts it (CreateProcess, its own folder as
// the working directory), ended by force only when a run left it behind.

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

class Program {
 public:
  // Throws std::runtime_error when the program cannot be started.
  explicit Program(const std::wstring& exe);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  DWORD Id() const { return id_; }
  bool Running() const;
  // The exit code, when the program ends within `milliseconds`.
  std::optional<DWORD> WaitExit(DWORD milliseconds) const;

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// The folder of a full path, without its trailing backslash.
std::wstring FolderOf(const std::wstring& path);

}  // namespace e2e
