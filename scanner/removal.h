#pragma once
// Deletes confirmed findings and asks the system to restart. Nothing is
// deleted before a copy of it is safe: each finding is first handed to a
// Safekeeping, and a finding it cannot keep stays where it is.

#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "scanner/findings.h"
#include "scanner/scan_context.h"

namespace scanner {

enum class RemovalState {
  Removed,
  RemovedAtRestart,  // in use now; the system deletes it when it next starts
  AlreadyGone,       // no longer there when the removal came to it
  LeftInPlace,
};

enum class LeftReason {
  None,
  NotKept,       // no copy could be made (unreadable, or the quarantine failed)
  DeleteFailed,  // the system refused the deletion
  NotRemovable,  // a folder, or a registry entry under a root the removal does not touch
  Unreachable,   // a name only the literal "\\?\" form reaches, such as one ending in a dot
  Interrupted,   // an unexpected error ended the removal before or during it
};

struct RemovalOutcome {
  std::string finding;
  RemovalState state = RemovalState::LeftInPlace;
  LeftReason reason = LeftReason::None;
  // What the safekeeping said when it could not keep the finding.
  std::string detail;
};

using RemovalReport = std::vector<RemovalOutcome>;

// A copy kept: its id, or the reason there is none.
struct Kept {
  std::optional<std::string> id;
  std::string reason;
};

// Stores a finding before it is deleted. A copy is reported only once it
// is complete and on the disk.
class Safekeeping {
 public:
  virtual ~Safekeeping() = default;
  virtual Kept KeepFile(const std::string& path) = 0;
  // `entry` is the registry finding as upper-cased ("HKLM\SYSTEM\..."),
  // `path` its key below `root`.
  virtual Kept KeepKey(const std::string& entry, platform::RegKey root,
                       const std::string& path) = 0;
  // The finding stayed where it was: its copy is not needed.
  virtual void Discard(const std::string& id) = 0;
};

// Each removal appends one outcome per non-empty finding to `report` and
// returns whether anything was removed (now or at the next restart).
bool DeleteFoundFiles(ScanContext& context, const Findings& FileFindings, Safekeeping& keeper,
                      RemovalReport& report);
RemovalOutcome DeleteFoundFile(ScanContext& context, const std::string& path,
                               Safekeeping& keeper);
bool DeleteFoundKeys(ScanContext& context, const Findings& RegistryFindings,
                     Safekeeping& keeper, RemovalReport& report);
void RestartComputer(ScanContext& context);

}  // namespace scanner
