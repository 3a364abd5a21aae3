#pragma once
// Carries out the command line of a program started with switches.

#include <string>
#include <vector>

#include "app/command_line/console.h"
#include "platform/event_log.h"
#include "platform/machine.h"

namespace app {

// What a run of the command line reaches besides the machine.
struct CommandLineHost {
  Console& console;
  platform::EventLog& events;
  std::string machineName;  // for reports
};

// `arguments` without the program's name, and not empty. Returns the exit
// code; nothing escapes as an exception.
int RunCommandLine(const std::vector<std::string>& arguments, platform::Machine machine,
                   CommandLineHost& host) noexcept;

}  // namespace app
