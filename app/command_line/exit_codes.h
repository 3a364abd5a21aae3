#pragma once
// The exit codes of the command line, for scripts to branch on.

namespace app {

inline constexpr int kExitDone = 0;
inline constexpr int kExitUsage = 4;
inline constexpr int kExitInternal = 5;
inline constexpr int kExitQuarantineItem = 6;

}  // namespace app
