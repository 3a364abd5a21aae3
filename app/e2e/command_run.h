#pragma once
// QuorvexRemover.exe run with switches as a script runs it: its standard
// output and error are pipes, its exit code is waited for, and every window
// it makes meanwhile is counted.

#include <windows.h>

#include <string>

namespace e2e {

struct CommandRun {
  DWORD exitCode = 0;
  std::string out;  // as the program wrote it (UTF-8, CRLF line ends)
  std::string error;
  int windows = 0;  // top-level windows of the program seen while it ran
};

// Throws std::runtime_error when the program cannot be started or does not
// end within `milliseconds`.
CommandRun RunWithSwitches(const std::wstring& exe, const std::wstring& switches,
                           DWORD milliseconds = 30000);

}  // namespace e2e
