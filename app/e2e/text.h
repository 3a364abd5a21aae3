#pragma once
// UTF-16 <-> UTF-8 for messages and files; the driver works in UTF-16.

#include <string>

namespace e2e {

std::string Utf8(const std::wstring& wide);
std::wstring Wide(const std::string& utf8);

}  // namespace e2e
