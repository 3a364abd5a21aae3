#include "app/command_line/run_command.h"

#include <exception>

#include "app/command_line/check_report.h"
#include "app/command_line/command_line.h"
#include "app/command_line/exit_codes.h"
#include "app/command_line/unattended_check.h"
#include "app/command_line/utc_time.h"
#include "quarantine/quarantine.h"

namespace app {
namespace {

constexpr char kUntrustedFolder[] =
    "The quarantine folder is not the administrators' own, so nothing in it is used.\n";

const char* KindName(quarantine::ItemKind kind) {
  return kind == quarantine::ItemKind::Key ? "key " : "file";
}

// Pads `text` on the right to `width` characters.
std::string Column(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text + "  ";
}

int List(quarantine::Quarantine& keeper, Console& console) {
  const quarantine::Listing listing = keeper.List();
  if (listing.untrusted) {
    console.Error(kUntrustedFolder);
    return kExitQuarantineItem;
  }
  if (listing.items.empty() && listing.damaged.empty()) {
    console.Out("The quarantine is empty.\n");
    return kExitDone;
  }
  if (!listing.items.empty()) {
    console.Out(Column("ID", 6) + Column("KIND", 4) + Column("TIME (UTC)", 19) +
                Column("SIZE", 12) + Column("SHA-256", 64) + "ORIGINAL PATH\n");
  }
  for (const quarantine::ItemInfo& item : listing.items) {
    console.Out(Column(item.id, 6) + Column(KindName(item.kind), 4) +
                Column(FormatUtc(item.time), 19) + Column(std::to_string(item.size), 12) +
                Column(quarantine::ToHex(item.sha256), 64) + item.originalPath + "\n");
  }
  for (const std::string& id : listing.damaged) {
    console.Error("Quarantine item " + id + " is damaged and cannot be restored.\n");
  }
  return listing.damaged.empty() ? kExitDone : kExitQuarantineItem;
}

int Restore(quarantine::Quarantine& keeper, const Command& command, Console& console) {
  if (const auto failure = keeper.Restore(command.id, command.force)) {
    console.Error("Nothing was restored: " + *failure + ".\n");
    return kExitQuarantineItem;
  }
  console.Out("Quarantine item " + command.id + " was restored.\n");
  return kExitDone;
}

int Purge(quarantine::Quarantine& keeper, const Command& command, Console& console) {
  if (command.id != "all") {
    if (const auto failure = keeper.Purge(command.id)) {
      console.Error("Nothing was purged: " + *failure + ".\n");
      return kExitQuarantineItem;
    }
    console.Out("Quarantine item " + command.id + " was purged.\n");
    return kExitDone;
  }
  const quarantine::Listing listing = keeper.List();
  if (listing.untrusted) {
    console.Error(kUntrustedFolder);
    return kExitQuarantineItem;
  }
  std::vector<std::string> ids = listing.damaged;
  for (const quarantine::ItemInfo& item : listing.items) ids.push_back(item.id);
  int code = kExitDone;
  std::size_t purged = 0;
  for (const std::string& id : ids) {
    if (const auto failure = keeper.Purge(id)) {
      console.Error(*failure + ".\n");
      code = kExitQuarantineItem;
    } else {
      ++purged;
    }
  }
  console.Out(std::to_string(purged) + (purged == 1 ? " item was" : " items were") +
              " purged from the quarantine.\n");
  return code;
}

// Scans (and removes), then reports. A report file that cannot be made is a
// wrong command line: found out before anything is scanned.
int Check(const Command& command, platform::Machine machine, CommandLineHost& host) {
  const bool toFile = command.report && *command.report != "-";
  const std::string temporary = toFile ? *command.report + ".tmp" : "";
  std::unique_ptr<platform::FileWriter> report;
  if (toFile) {
    report = machine.files.CreateWriter(temporary, true);
    if (!report) {
      host.console.Error("The report \"" + *command.report +
                         "\" cannot be written. Run QuorvexRemover /? for help.\n");
      return kExitUsage;
    }
  }
  scanner::ScanContext context{machine, ""};
  const CheckRun run =
      RunUnattendedCheck(context, {command.drives, command.remove, command.restart});
  int code = run.ExitCode();
  const std::string json = CheckReportJson(run, host.machineName);
  if (toFile) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(json.data());
    const bool written = report->Write(bytes, json.size()) && report->Flush();
    report.reset();
    // Moved into place whole, so that a reader never sees half a report.
    if (!written || !machine.files.MoveOver(temporary, *command.report)) {
      machine.files.RemoveFile(temporary);
      host.console.Error("The report \"" + *command.report + "\" could not be written.\n");
      code = kExitInternal;
    }
  }
  host.events.Report(kEventSource, CheckEventType(run), CheckSummary(run));
  if (command.report == "-") {
    host.console.Out(json);
  } else {
    host.console.Out(CheckSummary(run) + "\n");
  }
  return code;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, platform::Machine machine,
                   CommandLineHost& host) noexcept {
  Console& console = host.console;
  try {
    const Command command = ParseCommandLine(arguments);
    quarantine::Quarantine keeper(machine);
    switch (command.kind) {
      case CommandKind::Usage:
        console.Out(UsageText());
        return kExitDone;
      case CommandKind::Check:
        return Check(command, machine, host);
      case CommandKind::ListQuarantine:
        return List(keeper, console);
      case CommandKind::Restore:
        return Restore(keeper, command, console);
      case CommandKind::Purge:
        return Purge(keeper, command, console);
      case CommandKind::Window:
      case CommandKind::Invalid:
        break;
    }
    console.Error(command.error.empty() ? std::string("No command was given.\n")
                                        : command.error + " Run QuorvexRemover /? for help.\n");
    return kExitUsage;
  } catch (const std::exception& error) {
    try {
      console.Error(std::string("Unexpected error: ") + error.what() + "\n");
    } catch (...) {
    }
  } catch (...) {
    try {
      console.Error("Unexpected error.\n");
    } catch (...) {
    }
  }
  return kExitInternal;
}

}  // namespace app
