#pragma once
// The windows' desktop on Win32: the shell opens pages and programs, the
// stored forms are the program's RCDATA resources, and ending the program
// is the application's.

#include "app/windows/desktop.h"
#include "ui/win32/application.h"
#include "ui/win32/win32_window_system.h"

namespace app {

class Win32Desktop : public Desktop {
 public:
  Win32Desktop(ui::win32::Application& application, ui::win32::Win32WindowSystem& windows)
      : application_(application), windows_(windows) {}

  void Open(const ui::Form& owner, const std::string& file,
            const std::string& parameters) override;
  int ShowMessageBox(const std::string& text, const std::string& title,
                     std::uint32_t flags) override;
  std::string StoredForm(const std::string& unit) override;
  std::string ProgramPath() override;
  std::int32_t WindowHandle(const ui::Form& form) override;
  void Terminate() override { application_.Terminate(); }

 private:
  ui::win32::Application& application_;
  ui::win32::Win32WindowSystem& windows_;
};

}  // namespace app
