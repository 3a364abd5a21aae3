#pragma once
// QuorvexRemover.exe as its user sees it: its windows by caption, its
// buttons by their place in a window's client area, and one running
// program with its main window.

#include <windows.h>

#include <string>
#include <vector>

#include "app/e2e/program.h"

namespace e2e {

inline constexpr wchar_t kApplicationTitle[] = L"Quorvex Remover";
inline constexpr wchar_t kResultsCaption[] = L"Quorvex Rootkit Detected";
inline constexpr wchar_t kDriveCaption[] = L"Check Removable Drives";
inline constexpr wchar_t kSuggestionCaption[] = L"We found no Quorvex infection";
inline constexpr UINT kUpdaterNotifyMessage = 1926;
inline constexpr WPARAM kUpdaterCloseBit = 0x20;

// A button's rectangle in its window's client coordinates.
struct Button {
  int left;
  int top;
  int width;
  int height;
  POINT Centre() const { return {left + width / 2, top + height / 2}; }
};

inline constexpr Button kMainCheck{333, 54, 174, 71};
inline constexpr Button kMainUpdate{333, 146, 174, 71};
inline constexpr Button kMainExit{333, 237, 174, 71};
inline constexpr Button kResultsRemove{292, 298, 155, 55};
inline constexpr Button kResultsExit{458, 298, 155, 55};
inline constexpr Button kDriveCheck{81, 69, 174, 71};
inline constexpr Button kDriveExit{326, 69, 174, 71};
inline constexpr Button kSuggestionClose{281, 218, 96, 39};

// How long a window may take to appear or go: generous, the machine is
// shared.
inline constexpr DWORD kWindowWait = 15000;

class QuorvexSession {
 public:
  // Starts the program and waits for its main window; throws
  // std::runtime_error when it does not come.
  explicit QuorvexSession(const std::wstring& exe);

  Program& Process() { return program_; }
  HWND Main() const { return main_; }

  // A visible window of the program other than the main window and its
  // message boxes, by caption; null when there is none. With the
  // application title it finds the timed message.
  HWND Find(const wchar_t* caption) const;
  // The program's visible system message box, or null.
  HWND FindMessageBox() const;
  HWND WaitFor(const wchar_t* caption, DWORD milliseconds = kWindowWait) const;
  HWND WaitForMessageBox(DWORD milliseconds = kWindowWait) const;
  // The visible windows of the program besides the main window.
  std::vector<HWND> OtherWindows() const;

  // A user's click in the middle of `button` of `window`.
  void Press(HWND window, const Button& button) const;
  // Moves the cursor off the program's windows, so that no button hovers.
  void MoveCursorAway() const;

 private:
  Program program_;
  HWND main_ = nullptr;
};

}  // namespace e2e
