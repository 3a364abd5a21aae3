#include "platform/memory/unicode.h"

namespace platform::memory {

std::string FoldAscii(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace platform::memory
