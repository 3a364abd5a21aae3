#include "app/win32/win32_console.h"

#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace app {
namespace {

bool Usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

void Write(HANDLE handle, const std::string& text) {
  if (!Usable(handle)) return;
  // Lines end as Windows programs expect them, in a file as on a console.
  std::string lines;
  for (const char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    // A console shows what the wide call hands it whatever its code page.
    const std::wstring wide = platform::win32::ToWide(lines);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  // A pipe or a file gets UTF-8, which scripts read without a code page.
  for (std::size_t at = 0; at < lines.size();) {
    DWORD written = 0;
    if (!WriteFile(handle, lines.data() + at, static_cast<DWORD>(lines.size() - at), &written,
                   nullptr) ||
        written == 0) {
      return;
    }
    at += written;
  }
}

}  // namespace

Win32Console::Win32Console()
    : out_(GetStdHandle(STD_OUTPUT_HANDLE)), error_(GetStdHandle(STD_ERROR_HANDLE)) {
  if (Usable(out_) && Usable(error_)) return;
  // Started from a console without redirection: a window program has no
  // handles of its own, so it borrows the starting program's console.
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  console_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (!Usable(out_)) out_ = console_;
  if (!Usable(error_)) error_ = console_;
}

Win32Console::~Win32Console() {
  if (Usable(console_)) CloseHandle(console_);
}

void Win32Console::Out(const std::string& text) { Write(out_, text); }
void Win32Console::Error(const std::string& text) { Write(error_, text); }

std::vector<std::string> ProgramArguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> result;
  if (arguments == nullptr) return result;
  for (int i = 1; i < count; ++i) result.push_back(platform::win32::ToUtf8(arguments[i]));
  LocalFree(arguments);
  return result;
}

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &length)) return {};
  return platform::win32::ToUtf8(std::wstring(name, length));
}

}  // namespace app
