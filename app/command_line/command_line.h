#pragma once
// The program's switches, for administrators and scripts. Started without
// any the program is the window program; with any it opens no window and
// answers on its standard output and error.

#include <optional>
#include <string>
#include <vector>

namespace app {

enum class CommandKind {
  Window,          // no switches at all
  Usage,           // "/?"
  Check,           // "/scan" or "/drives", with "/remove", "/report FILE", "/restart"
  ListQuarantine,  // "/quarantine"
  Restore,         // "/restore ID [/force]"
  Purge,           // "/purge ID|all"
  Invalid,         // anything else; `error` says what is wrong
};

struct Command {
  CommandKind kind = CommandKind::Window;
  // Check: the removable drives are scanned too; what is found is removed;
  // the restart is asked for after a removal from the system; the report
  // goes to this file ("-" for the standard output).
  bool drives = false;
  bool remove = false;
  bool restart = false;
  std::optional<std::string> report;
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
