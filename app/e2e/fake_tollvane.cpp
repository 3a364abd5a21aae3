// A stand-in for the maker's web-update program: it notes the arguments it
// was started with in "tollvane-args.txt" beside itself, so that a test
// sees that and how it was launched, and exits.

#include <windows.h>

#include <string>

#include "app/e2e/program.h"
#include "platform/win32/wide_text.h"

namespace {

// The command line without the program's own name.
std::wstring Arguments() {
  const std::wstring line = GetCommandLineW();
  std::size_t at = 0;
  if (!line.empty() && line[0] == L'"') {
    at = line.find(L'"', 1);
    at = at == std::wstring::npos ? line.size() : at + 1;
  } else {
    at = line.find(L' ');
    if (at == std::wstring::npos) at = line.size();
  }
  while (at < line.size() && line[at] == L' ') ++at;
  return line.substr(at);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring record = e2e::FolderOf(self) + L"\\tollvane-args.txt";
  const std::string text = platform::win32::ToUtf8(Arguments());
  const HANDLE file = CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}
