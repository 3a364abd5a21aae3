#pragma once
// The program's switches, for administrators and scripts. Started without
// any the program is the window program; with any it opens no window and
// answers on its standard output and error.

#include <string>
#include <vector>

namespace app {

enum class CommandKind {
  Window,          // no switches at all
  Usage,           // "/?"
  ListQuarantine,  // "/quarantine"
  Restore,         // "/restore ID [/force]"
  Purge,           // "/purge ID|all"
  Invalid,         // anything else; `error` says what is wrong
};

struct Command {
  CommandKind kind = CommandKind::Window;
  std::string id;      // Restore and Purge: the item's id, or "all" for Purge
  bool force = false;  // Restore: overwrite what exists at the original place
  std::string error;   // Invalid: one line for the user
};

// `arguments` without the program's own name. Switches begin with '/' or
// '-' and are compared without regard to case.
Command ParseCommandLine(const std::vector<std::string>& arguments);

// What "/?" prints.
std::string UsageText();

}  // namespace app
