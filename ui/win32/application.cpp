#include "ui/win32/application.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/wide_text.h"
#include "ui/win32/win32_window_system.h"

namespace ui::win32 {

Application::~Application() {
  // Terminate posts WM_QUIT; when no loop took it, it must not end the
  // next loop of this thread.
  if (terminated_) {
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
}

void Application::Run() {
  if (windows_ == nullptr) throw std::logic_error("the application has no window system");
  if (mainForm_ != nullptr && !terminated_) {
    try {
      mainForm_->Show();
    } catch (...) {
      ShowException(std::current_exception());
    }
  }
  windows_->RunLoop([] { return false; });
}

void Application::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  // Wakes a loop that waits for messages, and ends foreign loops (a
  // message box's) that know nothing of this flag.
  PostQuitMessage(0);
}

void Application::ProcessMessages() {
  if (windows_ != nullptr) windows_->ProcessMessages();
}

void Application::ShowException(const std::exception_ptr& error) {
  std::string text;
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
    text = "An unknown error occurred.";
  }
  MessageBoxW(GetActiveWindow(), platform::win32::ToWide(text).c_str(),
              platform::win32::ToWide(title_).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace ui::win32
