#include "platform/memory/memory_machine.h"
#include "platform/memory/unicode.h"

namespace platform::memory {

std::string MemoryText::UpperCase(const std::string& text) {
  std::u16string wide = Utf8ToUtf16(text);
  for (char16_t& c : wide) {
    if (c >= u'a' && c <= u'z') {
      c = static_cast<char16_t>(c - 0x20);
    } else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
      c = static_cast<char16_t>(c - 0x20);  // à..þ, but not the division sign
    } else if (c == 0xFF) {
      c = 0x178;  // ÿ -> Ÿ
    }
  }
  return Utf16ToUtf8(wide);
}

}  // namespace platform::memory
