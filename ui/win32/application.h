#pragma once
// The program's run: its title (the caption of its message boxes), its
// main form, the message loop until the main form closes or the program
// is told to end, and the standard display of an exception that escapes
// an event handler. WinMain makes one Application and one
// Win32WindowSystem for it.

#include <exception>
#include <string>

#include "ui/form.h"

namespace ui::win32 {

class Win32WindowSystem;

class Application {
 public:
  Application() = default;
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  // Closing the main form ends the program.
  ui::Form* MainForm() const { return mainForm_; }
  void SetMainForm(ui::Form* form) { mainForm_ = form; }

  // Shows the main form and handles messages until the program is told to
  // end. Needs the window system made for this application.
  void Run();
  // Ends every running loop: the modal ones and then Run.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles the messages that are waiting, then returns.
  void ProcessMessages();

  // The standard display of an exception that escaped a handler: a message
  // box with its text; the program goes on.
  void ShowException(const std::exception_ptr& error);

 private:
  friend class Win32WindowSystem;

  std::string title_;
  ui::Form* mainForm_ = nullptr;
  bool terminated_ = false;
  Win32WindowSystem* windows_ = nullptr;
};

}  // namespace ui::win32
