#pragma once
// UTF-8 <-> UTF-16 conversion for portable code. Malformed input becomes
// U+FFFD rather than failing, so junk still shows up where it is printed.

#include <string>

namespace platform {

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace platform
