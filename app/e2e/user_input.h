#pragma once
// Mouse and keyboard as a user gives them: the cursor moved with
// SetCursorPos, buttons and keys through the system's input queue
// (SendInput), so the program under test sees ordinary input.

#include <windows.h>

namespace e2e {

void MoveCursor(POINT screen);
// Moves the cursor to `screen`, then presses and releases the left button.
void Click(POINT screen);
// A click on a client point of `window`.
void ClickClient(HWND window, POINT client);
// Presses and releases one key.
void PressKey(WORD virtualKey);

}  // namespace e2e
