#pragma once
// The update check of the main window: it hands the check to the maker's
// web-update program beside ours and listens for that program's
// notification, which may ask ours to close.

#include <cstdint>
#include <string>

namespace app {

// The window message the web-update program notifies the main window with.
inline constexpr std::uint32_t kUpdaterNotifyMessage = 1926;
// Set in the notification's first parameter: the program is to close.
inline constexpr std::uint32_t kUpdaterCloseBit = 0x20;
// The version file the web-update program reads, on the maker's site.
inline constexpr char kVersionFilePath[] = "/quorvexremover.ini";

struct UpdaterLaunch {
  std::string file;        // the web-update program's full path
  std::string parameters;  // its command line
};

class UpdateCheck {
 public:
  // What to start for a check from the program at `programPath` notifying
  // the window `window` (its handle as a signed 32-bit value); the check
  // counts as started whether or not the launch then succeeds.
  UpdaterLaunch Start(const std::string& programPath, std::int32_t window);
  // A notification arrived: true when it asks the program to close. Only
  // the first notification after a start counts.
  bool Notified(std::uint32_t wParam);
  bool UpdateStarted() const { return updateStarted_; }

 private:
  bool updateStarted_ = false;
};

}  // namespace app
