#include "app/command_line/command_line.h"

#include <algorithm>
#include <optional>

namespace app {
namespace {

std::string Folded(const std::string& text) {
  std::string folded = text;
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  return folded;
}

bool IsSwitch(const std::string& argument) {
  return argument.size() > 1 && (argument[0] == '/' || argument[0] == '-');
}

Command Invalid(std::string error) {
  Command command;
  command.kind = CommandKind::Invalid;
  command.error = std::move(error);
  return command;
}

struct Action {
  const char* name;
  CommandKind kind;
  bool takesId;
};

constexpr Action kActions[] = {
    {"?", CommandKind::Usage, false},
    {"quarantine", CommandKind::ListQuarantine, false},
    {"restore", CommandKind::Restore, true},
    {"purge", CommandKind::Purge, true},
};

std::optional<Action> ActionNamed(const std::string& name) {
  for (const Action& action : kActions) {
    if (name == action.name) return action;
  }
  return std::nullopt;
}

}  // namespace

Command ParseCommandLine(const std::vector<std::string>& arguments) {
  Command command;
  std::optional<Action> action;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!IsSwitch(argument)) return Invalid("Unexpected argument \"" + argument + "\".");
    const std::string name = Folded(argument.substr(1));
    if (name == "force") {
      if (command.force) return Invalid("/force is given twice.");
      command.force = true;
      continue;
    }
    const auto named = ActionNamed(name);
    if (!named) return Invalid("Unknown switch \"" + argument + "\".");
    if (action) return Invalid("Only one of /?, /quarantine, /restore and /purge may be given.");
    action = named;
    command.kind = named->kind;
    if (named->takesId) {
      if (i + 1 == arguments.size() || IsSwitch(arguments[i + 1])) {
        return Invalid("/" + name + " needs the id of a quarantine item.");
      }
      command.id = arguments[++i];
    }
  }
  if (command.force && command.kind != CommandKind::Restore) {
    return Invalid("/force goes only with /restore.");
  }
  if (command.kind == CommandKind::Purge && Folded(command.id) == "all") command.id = "all";
  return command;
}

std::string UsageText() {
  return "Quorvex Remover\n"
         "\n"
         "  QuorvexRemover                      opens the program's window\n"
         "  QuorvexRemover /quarantine          lists the items in the quarantine\n"
         "  QuorvexRemover /restore ID [/force] puts item ID back where it was; /force\n"
         "                                      overwrites what is there now\n"
         "  QuorvexRemover /purge ID|all        deletes item ID, or every item, for good\n"
         "  QuorvexRemover /?                   shows this text\n"
         "\n"
         "Switches may also begin with '-'; their case does not matter.\n"
         "\n"
         "Exit codes: 0 done; 4 the command line is wrong; 5 an unexpected error;\n"
         "6 a quarantine item is missing, damaged or could not be restored or purged.\n";
}

}  // namespace app
