#include "app/e2e/command_run.h"

#include <set>
#include <stdexcept>

#include "app/e2e/program.h"
#include "platform/win32/wide_text.h"

namespace e2e {
namespace {

struct Pipe {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  Pipe() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(&read, &write, &inherit, 0)) throw std::runtime_error("CreatePipe failed");
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  }
  ~Pipe() {
    if (read) CloseHandle(read);
    if (write) CloseHandle(write);
  }
  void CloseWriteEnd() {
    CloseHandle(write);
    write = nullptr;
  }
};

// Takes what the pipe holds now, without waiting: a process the program
// started (Wine starts the desktop's explorer with the first window
// program) may hold the write end open long after the program ended.
void TakeAvailable(HANDLE pipe, std::string& into) {
  DWORD available = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    std::string buffer(available, '\0');
    DWORD got = 0;
    if (!ReadFile(pipe, buffer.data(), available, &got, nullptr) || got == 0) return;
    into.append(buffer, 0, got);
  }
}

struct WindowCount {
  DWORD process;
  std::set<HWND>* seen;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM parameter) {
  auto* count = reinterpret_cast<WindowCount*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == count->process) count->seen->insert(window);
  return TRUE;
}

}  // namespace

CommandRun RunWithSwitches(const std::wstring& exe, const std::wstring& switches,
                           DWORD milliseconds) {
  Pipe out;
  Pipe error;
  std::wstring commandLine = L"\"" + exe + L"\" " + switches;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = out.write;
  startup.hStdError = error.write;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      FolderOf(exe).c_str(), &startup, &info)) {
    throw std::runtime_error("cannot start " + platform::win32::ToUtf8(exe));
  }
  CloseHandle(info.hThread);
  out.CloseWriteEnd();
  error.CloseWriteEnd();
  CommandRun run;

  std::set<HWND> seen;
  WindowCount count{info.dwProcessId, &seen};
  const DWORD start = GetTickCount();
  bool ended = false;
  while (!ended && GetTickCount() - start < milliseconds) {
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    TakeAvailable(out.read, run.out);
    TakeAvailable(error.read, run.error);
    ended = WaitForSingleObject(info.hProcess, 5) == WAIT_OBJECT_0;
  }
  if (!ended) TerminateProcess(info.hProcess, 1);
  WaitForSingleObject(info.hProcess, 5000);
  GetExitCodeProcess(info.hProcess, &run.exitCode);
  CloseHandle(info.hProcess);
  TakeAvailable(out.read, run.out);
  TakeAvailable(error.read, run.error);
  if (!ended) throw std::runtime_error("the program did not end: " + platform::win32::ToUtf8(switches));
  run.windows = static_cast<int>(seen.size());
  return run;
}

}  // namespace e2e
