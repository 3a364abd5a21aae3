#pragma once
// A system message box of another process: what it says, which buttons it
// offers, and a click on one of them.

#include <windows.h>

#include <string>

namespace e2e {

inline constexpr wchar_t kMessageBoxClass[] = L"#32770";

struct MessageBoxView {
  std::wstring text;
  bool ok = false;
  bool yes = false;
  bool no = false;
  bool cancel = false;
};

MessageBoxView ReadMessageBox(HWND box);
// Clicks the box's button with the dialog item `id` (IDOK, IDYES, IDNO…);
// false when the box has no such button.
bool ClickMessageBoxButton(HWND box, int id);

}  // namespace e2e
