#pragma once
// The application's title: set at start-up, and the title of the check's
// message boxes and of the timed message dialog.

namespace app {

inline constexpr char kApplicationTitle[] = "Quorvex Remover";

}  // namespace app
