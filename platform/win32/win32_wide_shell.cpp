#include "platform/win32/win32_wide_shell.h"

#include <windows.h>
#include <shellapi.h>

namespace platform::win32 {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

std::string Win32WideShell::ToOem(const std::u16string& text, std::size_t bufferBytes) {
  if (bufferBytes == 0 || text.empty()) return {};
  // CharToOemW's conversion, but with the output measured in bytes: the
  // OEM code page may need two bytes for one character.
  const int length = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CP_OEMCP, 0, Wide(text), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string oem(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_OEMCP, 0, Wide(text), length, oem.data(), needed, nullptr, nullptr);
  const std::size_t limit = bufferBytes - 1;
  if (oem.size() <= limit) return oem;
  // Cut at a character boundary so no lead byte is left without its trail.
  std::size_t end = 0;
  while (true) {
    const std::size_t step =
        IsDBCSLeadByteEx(CP_OEMCP, static_cast<BYTE>(oem[end])) ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  oem.resize(end);
  return oem;
}

int Win32WideShell::ShowMessage(const std::u16string& text, const std::u16string& caption,
                                std::uint32_t style) {
  return MessageBoxW(nullptr, Wide(text), Wide(caption), style);
}

bool Win32WideShell::Launch(const std::u16string& verb, const std::u16string& file,
                            const std::u16string& parameters, const std::u16string& directory,
                            int show) {
  const HINSTANCE result =
      ShellExecuteW(nullptr, Wide(verb), Wide(file), Wide(parameters), Wide(directory), show);
  // Values of 32 and below are error codes.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32WideShell::RemoveFile(const std::u16string& path) {
  return DeleteFileW(Wide(path)) != FALSE;
}

}  // namespace platform::win32
