#include "app/e2e/quorvex_session.h"

#include <stdexcept>

#include "app/e2e/message_box.h"
#include "app/e2e/top_windows.h"
#include "app/e2e/user_input.h"

namespace e2e {

QuorvexSession::QuorvexSession(const std::wstring& exe) : program_(exe) {
  // At start the main window is the program's only window with the title.
  main_ = e2e::WaitFor(
      [this]() -> HWND {
        for (HWND window : VisibleWindows(program_.Id())) {
          if (CaptionOf(window) == kApplicationTitle && ClassOf(window) != kMessageBoxClass) {
            return window;
          }
        }
        return nullptr;
      },
      kWindowWait);
  if (main_ == nullptr) throw std::runtime_error("the main window did not appear");
}

HWND QuorvexSession::Find(const wchar_t* caption) const {
  for (HWND window : VisibleWindows(program_.Id())) {
    if (window != main_ && ClassOf(window) != kMessageBoxClass && CaptionOf(window) == caption) {
      return window;
    }
  }
  return nullptr;
}

HWND QuorvexSession::FindMessageBox() const {
  for (HWND window : VisibleWindows(program_.Id())) {
    if (ClassOf(window) == kMessageBoxClass) return window;
  }
  return nullptr;
}

HWND QuorvexSession::WaitFor(const wchar_t* caption, DWORD milliseconds) const {
  return e2e::WaitFor([&] { return Find(caption); }, milliseconds);
}

HWND QuorvexSession::WaitForMessageBox(DWORD milliseconds) const {
  return e2e::WaitFor([this] { return FindMessageBox(); }, milliseconds);
}

std::vector<HWND> QuorvexSession::OtherWindows() const {
  std::vector<HWND> others;
  for (HWND window : VisibleWindows(program_.Id())) {
    if (window != main_) others.push_back(window);
  }
  return others;
}

void QuorvexSession::Press(HWND window, const Button& button) const {
  ClickClient(window, button.Centre());
}

void QuorvexSession::MoveCursorAway() const {
  // The screen's bottom-right corner: the windows are centred and far
  // smaller than the screen.
  MoveCursor({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
}

}  // namespace e2e
