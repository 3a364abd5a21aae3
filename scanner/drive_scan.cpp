#include "scanner/drive_scan.h"

#include <cstdint>

#include "scanner/shortcut_test.h"

namespace scanner {
namespace {

constexpr std::uint64_t kLargestPlainTmp = 512;

// Keeps critical-error dialogs (such as "insert a disk") away while drives
// are scanned, and puts the previous mode back on every way out.
class QuietCriticalErrors {
 public:
  explicit QuietCriticalErrors(platform::Drives& drives)
      : drives_(drives), previous_(drives.SetErrorMode(platform::kSemFailCriticalErrors)) {}
  ~QuietCriticalErrors() { drives_.SetErrorMode(previous_); }
  QuietCriticalErrors(const QuietCriticalErrors&) = delete;
  QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

 private:
  platform::Drives& drives_;
  std::uint32_t previous_;
};

// The text from the last period to the end; "" for a name without one.
std::string Extension(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace

bool ScanRemovableDrives(ScanContext& context, Findings& FileFindings) {
  QuietCriticalErrors quiet(context.machine.drives);
  try {
    std::vector<std::string> drives;
    ListRemovableDrives(context, drives);
    for (const std::string& drive : drives) ScanDriveRoot(context, drive, FileFindings);
  } catch (...) {
    // Silent: whatever was found before the failure stays listed.
  }
  return !FileFindings.empty();
}

void ListRemovableDrives(ScanContext& context, std::vector<std::string>& drives) {
  drives.clear();
  try {
    const auto strings = context.machine.drives.LogicalDriveStrings();
    if (!strings) return;
    std::size_t start = 0;
    while (start < strings->size()) {
      std::size_t end = strings->find('\0', start);
      if (end == std::string::npos) end = strings->size();
      std::string root = strings->substr(start, end - start);
      if (root.empty()) break;
      start = end + 1;
      if (context.machine.drives.DriveType(root) != platform::kDriveRemovable) continue;
      if (root.back() == '\\') root.pop_back();
      drives.push_back(context.machine.text.UpperCase(root));
    }
  } catch (...) {
    // Silent: the drives listed so far are scanned.
  }
}

void ScanDriveRoot(ScanContext& context, const std::string& directory, Findings& FileFindings) {
  if (directory.empty()) return;
  try {
    std::string root = directory;
    if (root.back() != '\\') root += '\\';
    for (const platform::DirEntry& entry : context.machine.files.ListDirectory(root + "*.*")) {
      if (entry.name == "." || entry.name == "..") continue;
      // Subdirectories are never entered, and a directory is never a finding.
      if (entry.attributes & platform::kAttributeDirectory) continue;
      const std::string upper = context.machine.text.UpperCase(entry.name);
      const std::string extension = Extension(upper);
      const std::string path = root + entry.name;
      if ((extension == ".LNK" && IsMaliciousShortcut(context, path)) ||
          (extension == ".TMP" && IsDisguisedExecutable(context, path)) ||
          (extension == ".INF" && upper == "AUTORUN.INF")) {
        FileFindings.push_back(path);
      }
    }
  } catch (...) {
    // Silent: entries found before the failure stay listed.
  }
}

bool IsDisguisedExecutable(ScanContext& context, const std::string& path) {
  if (path.empty()) return false;
  try {
    // Only the size and the two tested bytes are read: a multi-gigabyte file
    // neither exhausts memory nor escapes detection.
    const auto head = context.machine.files.ReadHead(path, 2);
    if (!head || head->size <= kLargestPlainTmp || head->bytes.size() < 2) return false;
    return head->bytes[0] == 0x4D && head->bytes[1] == 0x5A;
  } catch (...) {
    return false;
  }
}

}  // namespace scanner
