#pragma once
// Finding another process's top-level windows and waiting for them to come
// and go. Every wait polls and gives up after its timeout.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// The visible top-level windows of `process`, topmost first.
std::vector<HWND> VisibleWindows(DWORD process);

std::wstring CaptionOf(HWND window);
std::wstring ClassOf(HWND window);
SIZE ClientSize(HWND window);
RECT ScreenRect(HWND window);
// The screen point of a client point of `window`.
POINT ToScreen(HWND window, POINT client);

// The first window `find` gives within `milliseconds`, else null.
HWND WaitFor(const std::function<HWND()>& find, DWORD milliseconds);
// True when `window` is gone or hidden within `milliseconds`.
bool WaitGone(HWND window, DWORD milliseconds);
// Waits until `done` is true or `milliseconds` passed; returns `done`.
bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds);

}  // namespace e2e
