#include "app/e2e/program.h"

#include <stdexcept>

#include "platform/win32/wide_text.h"

namespace e2e {

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

Program::Program(const std::wstring& exe) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  const std::wstring folder = FolderOf(exe);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info)) {
    throw std::runtime_error("cannot start " + platform::win32::ToUtf8(exe) + " (error " +
                             std::to_string(GetLastError()) + ")");
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
}

Program::~Program() {
  if (Running()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool Program::Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Program::WaitExit(DWORD milliseconds) const {
  if (WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

}  // namespace e2e
