#pragma once
// Text helpers of the in-memory machine: the portable UTF conversions and
// ASCII case folding.

#include <string>

#include "platform/utf8.h"

namespace platform::memory {

using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;
// ASCII letters lowered; the key under which names compare.
std::string FoldAscii(const std::string& text);

}  // namespace platform::memory
