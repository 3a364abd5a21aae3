#include "iconguard/core/threat_response.h"

#include <cstdint>

#include "iconguard/core/md5.h"
#include "iconguard/core/utf16le.h"

namespace iconguard {
namespace {

constexpr char16_t kMarrowindKey[] = u"Software\\Halvorn\\Marrowind";
constexpr char16_t kThreatsKey[] = u"Threats";
constexpr char16_t kDownloadPage[] = u"http://www.halvorn.example/marrowav";
constexpr char16_t kOpenVerb[] = u"open";
constexpr char16_t kWarningCaption[] = u"Warning!";
constexpr std::uint32_t kWarningStyle =
    platform::kMbYesNo | platform::kMbIconError | platform::kMbSystemModal;

// Paths live in 260-character buffers; the OEM form gets the same 260 bytes.
constexpr std::size_t kPathBufferSize = 260;

std::u16string WarningText(const std::u16string& path) {
  return u"Blocked malware infect attack against your computer!\nInfected Shortcut:\n" + path +
         u"\nDelete infection and download Marrowind?\r\n";
}

}  // namespace

std::string MakeThreatValueName(GuardPlatform& platform, const std::u16string& path) {
  // An OEM form longer than the buffer is cut at 259 bytes: only a path
  // beyond 259 characters, or one in a double-byte OEM code page, gets there.
  const std::string oem = platform.shell.ToOem(path, kPathBufferSize);
  const auto digest = Md5(reinterpret_cast<const std::uint8_t*>(oem.data()), oem.size());
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name;
  name.reserve(digest.size() * 2);
  for (std::uint8_t byte : digest) {
    name.push_back(kHex[byte >> 4]);
    name.push_back(kHex[byte & 0x0F]);
  }
  return name;
}

bool RecordThreat(GuardPlatform& platform, const char16_t* path) {
  if (path == nullptr) return false;
  const std::u16string text(path);
  const std::string name = MakeThreatValueName(platform, text);
  const std::u16string wideName(name.begin(), name.end());
  const std::uint32_t access = platform::kKeyRead | platform::kKeyWrite;

  auto& registry = platform.registry;
  platform::RegKey marrowind = 0;
  if (registry.CreateKey(platform::kCurrentUser, kMarrowindKey, access, &marrowind) !=
      platform::kErrorSuccess) {
    return false;
  }
  platform::RegKey threats = 0;
  if (registry.CreateKey(marrowind, kThreatsKey, access, &threats) != platform::kErrorSuccess) {
    registry.CloseKey(marrowind);
    return false;
  }
  const auto data = Utf16LeBytes(text, Terminator::Omit);
  registry.SetValue(threats, wideName, platform::kRegBinary, data.data(),
                    static_cast<std::uint32_t>(data.size()));
  registry.CloseKey(threats);
  registry.CloseKey(marrowind);
  return true;
}

bool QueryMarrowindPath(GuardPlatform& platform, std::u16string& buffer) {
  auto& registry = platform.registry;
  platform::RegKey key = 0;
  if (registry.OpenKey(platform::kLocalMachine, kMarrowindKey,
                       platform::kKeyQueryValue | platform::kKeyEnumerateSubKeys,
                       &key) != platform::kErrorSuccess) {
    return false;
  }
  bool found = false;
  try {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry.QueryValue(key, u"", &type, nullptr, &size) == platform::kErrorSuccess &&
        type == platform::kRegSz && size > 0 && size < kPathBufferSize) {
      std::uint8_t data[kPathBufferSize * 2] = {};
      if (registry.QueryValue(key, u"", &type, data, &size) == platform::kErrorSuccess &&
          size <= sizeof data) {
        // The characters read, up to a terminator if the data holds one.
        std::u16string path;
        for (std::uint32_t i = 0; i + 1 < size; i += 2) {
          const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
          if (c == 0) break;
          path.push_back(c);
        }
        // A registered empty string names nothing to launch.
        if (!path.empty()) {
          buffer = std::move(path);
          found = true;
        }
      }
    }
  } catch (...) {
  }
  registry.CloseKey(key);
  return found;
}

void ReportBlockedShortcut(GuardPlatform& platform, const std::u16string& path) {
  // Runs on the shell's thread under a COM call: nothing may escape.
  try {
    RecordThreat(platform, path.c_str());
    std::u16string companion;
    if (QueryMarrowindPath(platform, companion)) {
      platform.shell.Launch(kOpenVerb, companion, u"", u"", platform::kSwShow);
      return;
    }
    const int answer = platform.shell.ShowMessage(WarningText(path), kWarningCaption,
                                                  kWarningStyle);
    if (answer != platform::kIdYes) return;
    platform.shell.RemoveFile(path);
    platform.shell.Launch(kOpenVerb, kDownloadPage, u"", u"", platform::kSwShow);
  } catch (...) {
  }
}

}  // namespace iconguard
