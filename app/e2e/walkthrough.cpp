// The demonstration: drives QuorvexRemover.exe on a seeded prefix through a
// whole check as a user would and keeps a picture of every window it meets.
//   qr_e2e_walkthrough PROGRAM SCREENSHOT-FOLDER
// Detection, removal of every finding, the restart declined; then a second
// check: clean, the removable drives checked, their findings removed. The
// pictures are 24-bit BMP files numbered in the order of the walk.

#include <windows.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "app/e2e/message_box.h"
#include "app/e2e/quorvex_session.h"
#include "app/e2e/screenshot.h"
#include "app/e2e/top_windows.h"
#include "platform/win32/wide_text.h"

namespace {

using namespace e2e;

// A window needs a moment after it appears to paint itself.
constexpr DWORD kPaintMilliseconds = 500;

class Walk {
 public:
  Walk(const std::wstring& program, std::wstring folder)
      : session_(program), folder_(std::move(folder)) {}

  void Run() {
    Keep(session_.Main(), L"main window");
    session_.Press(session_.Main(), kMainCheck);
    const HWND results = Expect(session_.WaitFor(kResultsCaption), "the results dialog");
    Keep(results, L"infection found");
    session_.Press(results, kResultsRemove);
    ShowTimedMessage(L"infection removed");
    const HWND restart = Expect(session_.WaitForMessageBox(), "the restart question");
    Keep(restart, L"restart question");
    if (!ClickMessageBoxButton(restart, IDNO)) throw std::runtime_error("no No button");
    Expect(WaitGone(restart, kWindowWait), "the restart question to close");

    session_.Press(session_.Main(), kMainCheck);
    ShowTimedMessage(L"machine clean");
    const HWND drives = Expect(session_.WaitFor(kDriveCaption), "the drive dialog");
    Keep(drives, L"check removable drives");
    session_.Press(drives, kDriveCheck);
    const HWND driveResults = Expect(session_.WaitFor(kResultsCaption), "the drive findings");
    Keep(driveResults, L"drive threats found");
    session_.Press(driveResults, kResultsRemove);
    ShowTimedMessage(L"drive threats removed");

    session_.MoveCursorAway();
    Keep(session_.Main(), L"main window after the checks");
    session_.Press(session_.Main(), kMainExit);
    const auto code = session_.Process().WaitExit(kWindowWait);
    if (!code) throw std::runtime_error("the program did not end after Exit");
    std::printf("the program ended with exit code %lu\n", static_cast<unsigned long>(*code));
  }

 private:
  template <typename T>
  static T Expect(T found, const char* what) {
    if (!found) throw std::runtime_error(std::string("waited in vain for ") + what);
    return found;
  }

  // Waits for the timed message, pictures it and waits for it to close.
  void ShowTimedMessage(const wchar_t* name) {
    const HWND message = Expect(session_.WaitFor(kApplicationTitle), "a timed message");
    Keep(message, name);
    Expect(WaitGone(message, kWindowWait), "the timed message to close");
  }

  void Keep(HWND window, const std::wstring& name) {
    Sleep(kPaintMilliseconds);
    wchar_t number[8];
    wsprintfW(number, L"%02d", ++count_);
    std::wstring file = number + std::wstring(L" ") + name + L".bmp";
    for (wchar_t& c : file) {
      if (c == L' ') c = L'-';
    }
    SaveBmp(CaptureWindow(window), folder_ + L"\\" + file);
    std::printf("%s\n", platform::win32::ToUtf8(file).c_str());
  }

  QuorvexSession session_;
  std::wstring folder_;
  int count_ = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: qr_e2e_walkthrough PROGRAM SCREENSHOT-FOLDER\n");
    return 2;
  }
  try {
    CreateDirectoryW(argv[2], nullptr);
    Walk(argv[1], argv[2]).Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "walkthrough: %s\n", error.what());
    return 1;
  }
  return 0;
}
