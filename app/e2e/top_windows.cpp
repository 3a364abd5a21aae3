#include "app/e2e/top_windows.h"

namespace e2e {
namespace {

struct Collect {
  DWORD process;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
  auto* collect = reinterpret_cast<Collect*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == collect->process && IsWindowVisible(window)) collect->windows.push_back(window);
  return TRUE;
}

constexpr DWORD kPollMilliseconds = 10;

}  // namespace

std::vector<HWND> VisibleWindows(DWORD process) {
  Collect collect{process, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&collect));
  return collect.windows;
}

std::wstring CaptionOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

POINT ToScreen(HWND window, POINT client) {
  ClientToScreen(window, &client);
  return client;
}

HWND WaitFor(const std::function<HWND()>& find, DWORD milliseconds) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = find()) != nullptr; }, milliseconds);
  return found;
}

bool WaitGone(HWND window, DWORD milliseconds) {
  return WaitUntil([window] { return !IsWindow(window) || !IsWindowVisible(window); },
                   milliseconds);
}

bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(kPollMilliseconds);
  }
}

}  // namespace e2e
