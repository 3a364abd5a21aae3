#pragma once
// The exit codes of the command line, for scripts to branch on.

namespace app {

inline constexpr int kExitDone = 0;  // also: a check found nothing
inline constexpr int kExitFound = 1;
inline constexpr int kExitAllRemoved = 2;
inline constexpr int kExitSomeLeft = 3;
inline constexpr int kExitUsage = 4;
inline constexpr int kExitInternal = 5;
inline constexpr int kExitQuarantineItem = 6;

}  // namespace app
