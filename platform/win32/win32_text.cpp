#include "platform/win32/win32_text.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

std::string Win32Text::UpperCase(const std::string& text) {
  std::wstring wide = ToWide(text);
  if (!wide.empty()) CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return ToUtf8(wide);
}

}  // namespace platform::win32
