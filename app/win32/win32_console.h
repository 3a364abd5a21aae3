#pragma once
// The Console of a window program started with switches: the standard
// handles it was given (a script's pipe or file), or else the console of the
// program that started it.

#include <windows.h>

#include <string>
#include <vector>

#include "app/command_line/console.h"

namespace app {

class Win32Console : public Console {
 public:
  Win32Console();
  ~Win32Console() override;
  Win32Console(const Win32Console&) = delete;
  Win32Console& operator=(const Win32Console&) = delete;

  void Out(const std::string& text) override;
  void Error(const std::string& text) override;

 private:
  HANDLE out_;
  HANDLE error_;
  HANDLE console_ = INVALID_HANDLE_VALUE;  // opened here, closed here
};

// The command line without the program's name, as UTF-8.
std::vector<std::string> ProgramArguments();
// This computer's NetBIOS name, as reports name it; "" when unknown.
std::string ComputerName();

}  // namespace app
