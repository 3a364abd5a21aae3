#pragma once
// UTF-8 <-> UTF-16 at the boundary to the W functions.

#include <string>

namespace platform::win32 {

std::wstring ToWide(const std::string& utf8);
std::string ToUtf8(const std::wstring& wide);

}  // namespace platform::win32
