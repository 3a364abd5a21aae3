#include "localizer/win32/profile_store.h"

#include <windows.h>

#include <memory>
#include <utility>

#include "platform/win32/wide_text.h"

namespace localizer::win32 {
namespace {

std::string ToAnsi(const std::string& utf8) {
  const std::wstring wide = platform::win32::ToWide(utf8);
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr,
                                         0, "?", nullptr);
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length, "?",
                      nullptr);
  return ansi;
}

std::string FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
  return platform::win32::ToUtf8(wide);
}

}  // namespace

ProfileStore::ProfileStore(std::string fileName)
    : fileName_(std::move(fileName)), ansiName_(ToAnsi(fileName_)) {}

std::string ProfileStore::ReadString(const std::string& section, const std::string& key,
                                     const std::string& byDefault) {
  const std::string s = ToAnsi(section);
  const std::string k = ToAnsi(key);
  if (!FitsPlatform(s) || !FitsPlatform(k) || !FitsPlatform(ansiName_)) return byDefault;
  char buffer[kMaxValueLength + 1];
  DWORD length = GetPrivateProfileStringA(s.c_str(), k.c_str(), "", buffer, sizeof buffer,
                                          ansiName_.c_str());
  if (length > 0) return FromAnsi({buffer, length});
  // An empty value, or no entry. The system would hand a default back with
  // its trailing blanks and enclosing quotes dropped and cut to the buffer;
  // asked again with a default that no empty value equals, it tells the
  // two apart, and the caller's default comes back untouched.
  length = GetPrivateProfileStringA(s.c_str(), k.c_str(), "?", buffer, sizeof buffer,
                                    ansiName_.c_str());
  return length == 1 && buffer[0] == '?' ? byDefault : std::string();
}

void ProfileStore::WriteString(const std::string& section, const std::string& key,
                               const std::string& value) {
  if (!WritableSectionName(section) || !WritableKeyName(key)) throw StoreError(fileName_);
  const std::string text = ToAnsi(std::string(WritableValue(value)));
  if (!FitsPlatform(ansiName_) ||
      !WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), text.c_str(),
                                  ansiName_.c_str())) {
    throw StoreError(fileName_);
  }
}

void ProfileStore::EraseSection(const std::string& section) {
  if (!WritableSectionName(section) || !FitsPlatform(ansiName_) ||
      !WritePrivateProfileStringA(ToAnsi(section).c_str(), nullptr, nullptr, ansiName_.c_str())) {
    throw StoreError(fileName_);
  }
}

std::vector<std::string> ProfileStore::ReadSection(const std::string& section) {
  const std::string s = ToAnsi(section);
  if (!FitsPlatform(s) || !FitsPlatform(ansiName_)) return {};
  std::vector<char> buffer(kSectionNamesBuffer);
  const DWORD length =
      GetPrivateProfileStringA(s.c_str(), nullptr, "", buffer.data(),
                               static_cast<DWORD>(buffer.size()), ansiName_.c_str());
  std::vector<std::string> names = SplitKeyNames({buffer.data(), length});
  for (std::string& name : names) name = FromAnsi(name);
  return names;
}

StoreOpener ProfileStoreOpener() {
  return [](const std::string& fileName) { return std::make_unique<ProfileStore>(fileName); };
}

}  // namespace localizer::win32
