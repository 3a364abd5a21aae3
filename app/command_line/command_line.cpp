#include "app/command_line/command_line.h"

#include <algorithm>

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

// The switch's kind of command, for those that choose one.
CommandKind KindOf(const std::string& name) {
  if (name == "?") return CommandKind::Usage;
  if (name == "scan" || name == "drives") return CommandKind::Check;
  if (name == "quarantine") return CommandKind::ListQuarantine;
  if (name == "restore") return CommandKind::Restore;
  if (name == "purge") return CommandKind::Purge;
  return CommandKind::Invalid;
}

// The switches that only shape a command of another switch, with the kind
// they belong to.
struct Modifier {
  const char* name;
  CommandKind kind;
};
constexpr Modifier kModifiers[] = {
    {"remove", CommandKind::Check},
    {"report", CommandKind::Check},
    {"restart", CommandKind::Check},
    {"force", CommandKind::Restore},
};

}  // namespace

Command ParseCommandLine(const std::vector<std::string>& arguments) {
  Command command;
  std::vector<std::string> seen;
  std::vector<CommandKind> modifierKinds;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!IsSwitch(argument)) return Invalid("Unexpected argument \"" + argument + "\".");
    const std::string name = Folded(argument.substr(1));
    if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
      return Invalid("/" + name + " is given twice.");
    }
    seen.push_back(name);
    const auto modifier = std::find_if(std::begin(kModifiers), std::end(kModifiers),
                                       [&](const Modifier& m) { return name == m.name; });
    if (modifier != std::end(kModifiers)) {
      modifierKinds.push_back(modifier->kind);
      if (name == "remove") command.remove = true;
      if (name == "restart") command.restart = true;
      if (name == "force") command.force = true;
      if (name == "report") {
        if (i + 1 == arguments.size() || IsSwitch(arguments[i + 1])) {
          return Invalid("/report needs the file to write the report to, or - for the output.");
        }
        command.report = arguments[++i];
      }
      continue;
    }
    const CommandKind kind = KindOf(name);
    if (kind == CommandKind::Invalid) return Invalid("Unknown switch \"" + argument + "\".");
    if (command.kind != CommandKind::Window && command.kind != kind) {
      return Invalid("Only one of /?, /scan, /quarantine, /restore and /purge may be given.");
    }
    command.kind = kind;
    if (name == "drives") command.drives = true;
    if (kind == CommandKind::Restore || kind == CommandKind::Purge) {
      if (i + 1 == arguments.size() || IsSwitch(arguments[i + 1])) {
        return Invalid("/" + name + " needs the id of a quarantine item.");
      }
      command.id = arguments[++i];
    }
  }
  for (const CommandKind kind : modifierKinds) {
    if (kind == command.kind) continue;
    return Invalid(kind == CommandKind::Restore ? "/force goes only with /restore."
                                                : "/remove, /report and /restart go only with "
                                                  "/scan or /drives.");
  }
  if (command.restart && !command.remove) return Invalid("/restart goes only with /remove.");
  if (command.kind == CommandKind::Purge && Folded(command.id) == "all") command.id = "all";
  return command;
}

std::string UsageText() {
  return "Quorvex Remover\n"
         "\n"
         "  QuorvexRemover                      opens the program's window\n"
         "  QuorvexRemover /scan [/drives] [/remove [/restart]] [/report FILE]\n"
         "                                      checks the system without a window; /drives\n"
         "                                      checks the removable drives too; /remove\n"
         "                                      removes what is found (into the quarantine);\n"
         "                                      /restart then restarts the computer when the\n"
         "                                      system was infected; /report writes a JSON\n"
         "                                      report to FILE, or to the output for -\n"
         "  QuorvexRemover /quarantine          lists the items in the quarantine\n"
         "  QuorvexRemover /restore ID [/force] puts item ID back where it was; /force\n"
         "                                      overwrites what is there now\n"
         "  QuorvexRemover /purge ID|all        deletes item ID, or every item, for good\n"
         "  QuorvexRemover /?                   shows this text\n"
         "\n"
         "Switches may also begin with '-'; their case does not matter. /drives alone\n"
         "means /scan /drives.\n"
         "\n"
         "Exit codes: 0 nothing found, or done; 1 found, not removed; 2 found and all\n"
         "removed (at the restart for files in use); 3 some findings left in place;\n"
         "4 the command line is wrong; 5 an unexpected error; 6 a quarantine item is\n"
         "missing, damaged or could not be restored or purged.\n";
}

}  // namespace app
