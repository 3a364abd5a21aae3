#include "scanner/system_scan.h"

#include "scanner/scoped_key.h"

namespace scanner {
namespace {

constexpr const char* kServicesKey = "\\System\\CurrentControlSet\\Services\\";
constexpr const char* kServicesFinding = "HKLM\\System\\CurrentControlSet\\Services\\";
constexpr const char* kImagePath = "ImagePath";
constexpr const char* kSystemRootMarker = "\\SYSTEMROOT";

}  // namespace

void GetWindowsDir(ScanContext& context) {
  context.WindowsDir = context.machine.files.WindowsDirectory().value_or(std::string());
}

bool ScanSystem(ScanContext& context, Findings* RegistryFindings, Findings* FileFindings) {
  if (RegistryFindings == nullptr || FileFindings == nullptr) return false;
  const bool infected =
      ScanDriverServices(context, {"MrxNet", "MrxCls"}, *RegistryFindings, *FileFindings);
  try {
    // Loader files alone are collected but never make the machine infected.
    for (const char* loader : {"mdmcpq3.PNF", "mdmeric3.PNF", "oem6C.PNF", "oem7A.PNF"}) {
      std::string found = FindInfFile(context, loader);
      if (!found.empty()) FileFindings->push_back(std::move(found));
    }
  } catch (...) {
    // Scanning is silent; what was found before the failure stays listed.
  }
  return infected;
}

bool ScanDriverServices(ScanContext& context, const std::vector<std::string>& names,
                        Findings& RegistryFindings, Findings& FileFindings) {
  platform::Registry& registry = context.machine.registry;
  bool found = false;
  try {
    for (const std::string& name : names) {
      const std::string keyPath = kServicesKey + name;
      if (registry.KeyExists(platform::kLocalMachine, keyPath)) {
        found = true;
        RegistryFindings.push_back(kServicesFinding + name);
      }
      ScopedKey key(registry, platform::kLocalMachine, keyPath);
      if (!key) continue;
      if (!registry.ValueExists(key.get(), kImagePath)) continue;
      const auto imagePath = registry.ReadString(key.get(), kImagePath);
      // An unreadable ImagePath ends the whole service check.
      if (!imagePath) break;
      std::string driver =
          ExpandPathVariables(context, NormalizeDriverPath(context, *imagePath));
      if (!driver.empty()) FileFindings.push_back(std::move(driver));
    }
  } catch (...) {
    // Silent: the findings and the verdict gathered so far stand.
  }
  return found;
}

std::string NormalizeDriverPath(ScanContext& context, const std::string& raw) {
  const std::string& windows = context.WindowsDir;
  std::string path = context.machine.text.UpperCase(raw);
  if (path.starts_with("\\??\\")) path.erase(0, 4);
  const std::size_t root = path.find(kSystemRootMarker);
  if (root != std::string::npos) {
    path = windows + path.substr(root + std::char_traits<char>::length(kSystemRootMarker));
  }
  if (path.starts_with("SYSTEM32")) {
    path = windows + "\\" + path;
  } else if (path.starts_with("\\") && windows.size() > 2) {
    path = windows.substr(0, 2) + path;
  }
  return path;
}

std::string ExpandPathVariables(ScanContext& context, const std::string& path) {
  if (path.empty()) return std::string();
  std::string upper = context.machine.text.UpperCase(path);
  if (upper.find('%') == std::string::npos) return upper;
  // An expansion too long for the path buffer keeps the unexpanded text, so
  // the driver still shows up in the findings; deleting it later is harmless.
  return context.machine.files.ExpandEnvironment(upper).value_or(upper);
}

std::string FindInfFile(ScanContext& context, const std::string& fileName) {
  const std::string path = context.WindowsDir + "\\inf\\" + fileName;
  return context.machine.files.FileExists(path) ? path : std::string();
}

}  // namespace scanner
