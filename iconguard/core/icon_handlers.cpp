#include "iconguard/core/icon_handlers.h"

#include <cstdint>
#include <string>
#include <vector>

#include "iconguard/core/utf16le.h"

namespace iconguard {
namespace {

constexpr char16_t kCorvaneClsid[] = u"{A45D89B4-2E99-4E4D-A719-D7AAB775D750}";
constexpr const char16_t* kHandlerKeys[] = {u"lnkfile\\ShellEx\\IconHandler",
                                            u"piffile\\ShellEx\\IconHandler"};

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; }

// Class identifiers compare without regard to case.
bool NamesCorvane(const std::u16string& text) {
  const std::u16string ours = kCorvaneClsid;
  if (text.size() != ours.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (AsciiUpper(text[i]) != ours[i]) return false;
  }
  return true;
}

// The default value as text; false when it is missing or not a string.
bool ReadDefaultString(platform::WideRegistry& registry, platform::RegKey key,
                       std::u16string* text) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (registry.QueryValue(key, u"", &type, nullptr, &size) != platform::kErrorSuccess ||
      (type != platform::kRegSz && type != platform::kRegExpandSz)) {
    return false;
  }
  std::vector<std::uint8_t> data(size);
  if (size > 0 && registry.QueryValue(key, u"", &type, data.data(), &size) !=
                      platform::kErrorSuccess) {
    return false;
  }
  text->clear();
  for (std::uint32_t i = 0; i + 1 < size; i += 2) {
    text->push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  // The stored terminator (or several) is not part of the text.
  while (!text->empty() && text->back() == u'\0') text->pop_back();
  return true;
}

}  // namespace

void RestoreSystemIconHandlers(platform::WideRegistry& registry) {
  for (const char16_t* path : kHandlerKeys) {
    platform::RegKey key = 0;
    // A link in the key's place is opened itself: its own values are read
    // and written, never those of the key it leads to.
    if (registry.OpenKeyNoFollow(platform::kClassesRoot, path,
                                 platform::kKeyRead | platform::kKeyWrite,
                                 &key) != platform::kErrorSuccess) {
      continue;
    }
    std::u16string current;
    if (ReadDefaultString(registry, key, &current) && NamesCorvane(current)) {
      const auto data = Utf16LeBytes(kSystemIconHandler, Terminator::Append);
      registry.SetValue(key, u"", platform::kRegSz, data.data(),
                        static_cast<std::uint32_t>(data.size()));
    }
    registry.CloseKey(key);
  }
}

}  // namespace iconguard
