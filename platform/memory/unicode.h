#pragma once
// UTF-8 <-> UTF-16 conversion and ASCII case folding for the in-memory
// machine. Malformed input becomes U+FFFD rather than failing, so seeded
// junk still shows up in dumps.

#include <string>

namespace platform::memory {

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);
// ASCII letters lowered; the key under which names compare.
std::string FoldAscii(const std::string& text);

}  // namespace platform::memory
