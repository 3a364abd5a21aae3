#include "app/removal_message.h"

namespace app {
namespace {

// A message box taller than the screen hides its button.
constexpr std::size_t kLongestList = 20;

std::string ReasonText(const scanner::RemovalOutcome& outcome) {
  switch (outcome.reason) {
    case scanner::LeftReason::NotKept:
      return "no safe copy could be made (" + outcome.detail + ")";
    case scanner::LeftReason::DeleteFailed:
      return "the system refused to delete it";
    case scanner::LeftReason::Unreachable:
      return "its name cannot be reached the usual way";
    case scanner::LeftReason::NotRemovable:
      return "it is a folder or a registry key this program does not remove";
    case scanner::LeftReason::Interrupted:
    case scanner::LeftReason::None:
      break;
  }
  return "the removal was interrupted";
}

}  // namespace

std::string LeftInPlaceMessage(const scanner::RemovalReport& report) {
  std::string lines;
  std::size_t left = 0;
  for (const scanner::RemovalOutcome& outcome : report) {
    if (outcome.state != scanner::RemovalState::LeftInPlace) continue;
    if (++left <= kLongestList) lines += outcome.finding + ": " + ReasonText(outcome) + "\n";
  }
  if (left == 0) return "";
  if (left > kLongestList) {
    lines += "... and " + std::to_string(left - kLongestList) + " more\n";
  }
  return "These items could not be removed and are still in place:\n\n" + lines;
}

}  // namespace app
