#include "app/update_check.h"

#include "app/maker_site.h"

namespace app {

UpdaterLaunch UpdateCheck::Start(const std::string& programPath, std::int32_t window) {
  // The directory with its trailing backslash; a bare name lies in the current one.
  const std::size_t slash = programPath.find_last_of("\\/");
  const std::string directory =
      slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
  updateStarted_ = true;
  return {directory + "tollvane.exe",
          std::string(kMakerSite) + kVersionFilePath + " /w " + std::to_string(window)};
}

bool UpdateCheck::Notified(std::uint32_t wParam) {
  if (!updateStarted_) return false;
  updateStarted_ = false;
  return (wParam & kUpdaterCloseBit) != 0;
}

}  // namespace app
