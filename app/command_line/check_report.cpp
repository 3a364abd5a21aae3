#include "app/command_line/check_report.h"

#include <cstdio>

#include "app/command_line/utc_time.h"

namespace app {
namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

const char* KindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::RegistryKey: return "registry key";
    case FindingKind::SystemFile: return "file";
    case FindingKind::DriveFile: return "removable drive file";
  }
  return "";
}

std::string Outcome(const CheckRun& run, const scanner::RemovalOutcome& outcome) {
  switch (outcome.state) {
    case scanner::RemovalState::Removed: return "removed";
    case scanner::RemovalState::RemovedAtRestart: return "removed at restart";
    case scanner::RemovalState::AlreadyGone: return "already gone";
    case scanner::RemovalState::LeftInPlace: break;
  }
  return run.removalRan ? "left in place" : "found";
}

std::string Reason(const scanner::RemovalOutcome& outcome) {
  switch (outcome.reason) {
    case scanner::LeftReason::None: return "";
    case scanner::LeftReason::NotKept: return "no safe copy could be made: " + outcome.detail;
    case scanner::LeftReason::DeleteFailed: return "the system refused to delete it";
    case scanner::LeftReason::NotRemovable: return "it is not something this program removes";
    case scanner::LeftReason::Unreachable: return "its name cannot be reached the usual way";
    case scanner::LeftReason::Interrupted: return "the removal was interrupted";
  }
  return "";
}

}  // namespace

std::string CheckReportJson(const CheckRun& run, const std::string& machineName) {
  const CheckTotals totals = run.Totals();
  std::string json = "{\n";
  json += "  \"program\": \"Quorvex Remover\",\n";
  json += "  \"version\": " + Quoted(kProgramVersion) + ",\n";
  json += "  \"machine\": " + Quoted(machineName) + ",\n";
  json += "  \"start\": " + Quoted(FormatIsoUtc(run.start)) + ",\n";
  json += "  \"end\": " + Quoted(FormatIsoUtc(run.end)) + ",\n";
  json += "  \"findings\": [";
  for (std::size_t i = 0; i < run.findings.size(); ++i) {
    const ReportedFinding& finding = run.findings[i];
    json += i == 0 ? "\n" : ",\n";
    json += "    {\"kind\": " + Quoted(KindName(finding.kind)) +
            ", \"value\": " + Quoted(finding.value) +
            ", \"outcome\": " + Quoted(Outcome(run, finding.outcome));
    const std::string reason = Reason(finding.outcome);
    if (!reason.empty()) json += ", \"reason\": " + Quoted(reason);
    json += "}";
  }
  json += run.findings.empty() ? "],\n" : "\n  ],\n";
  json += "  \"totals\": {\"found\": " + std::to_string(totals.found) +
          ", \"removed\": " + std::to_string(totals.removed) +
          ", \"removedAtRestart\": " + std::to_string(totals.removedAtRestart) +
          ", \"alreadyGone\": " + std::to_string(totals.alreadyGone) +
          ", \"leftInPlace\": " + std::to_string(totals.leftInPlace) + "},\n";
  json += std::string("  \"restartRequested\": ") + (run.restartRequested ? "true" : "false") +
          ",\n";
  json += "  \"exitCode\": " + std::to_string(run.ExitCode()) + "\n";
  return json + "}\n";
}

platform::EventType CheckEventType(const CheckRun& run) {
  const CheckTotals totals = run.Totals();
  if (totals.found == 0) return platform::EventType::Information;
  return totals.leftInPlace == 0 ? platform::EventType::Warning : platform::EventType::Error;
}

std::string CheckSummary(const CheckRun& run) {
  const CheckTotals totals = run.Totals();
  if (totals.found == 0) return "Quorvex Remover found nothing.";
  std::string text = "Quorvex Remover found " + std::to_string(totals.found) +
                     (totals.found == 1 ? " item" : " items");
  if (!run.removalRan) return text + " and removed nothing.";
  return text + ": " + std::to_string(totals.removed) + " removed, " +
         std::to_string(totals.removedAtRestart) + " removed at the next restart, " +
         std::to_string(totals.alreadyGone) + " already gone, " +
         std::to_string(totals.leftInPlace) + " left in place.";
}

}  // namespace app
