#include "app/e2e/user_input.h"

namespace e2e {
namespace {

// Gives the program time to see the cursor arrive (hover states) and a
// press apart from its release.
constexpr DWORD kSettleMilliseconds = 60;

void SendMouseButton(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void SendKey(WORD virtualKey, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

}  // namespace

void MoveCursor(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  Sleep(kSettleMilliseconds);
}

void Click(POINT screen) {
  MoveCursor(screen);
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  Sleep(kSettleMilliseconds);
  SendMouseButton(MOUSEEVENTF_LEFTUP);
  Sleep(kSettleMilliseconds);
}

void ClickClient(HWND window, POINT client) {
  ClientToScreen(window, &client);
  Click(client);
}

void PressKey(WORD virtualKey) {
  SendKey(virtualKey, 0);
  Sleep(kSettleMilliseconds);
  SendKey(virtualKey, KEYEVENTF_KEYUP);
  Sleep(kSettleMilliseconds);
}

}  // namespace e2e
