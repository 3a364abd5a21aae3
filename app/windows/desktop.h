#pragma once
// What the program's windows need of the system beside drawing: opening
// web pages and programs, message boxes, their stored forms, the program's
// own path and window handles, and ending the program. Win32Desktop is the
// real one; tests hand in a recording one.

#include <cstdint>
#include <string>

#include "ui/form.h"

namespace app {

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Asks the shell to "open" `file` (a web address or a program) with
  // `parameters`, `owner`'s window as parent, no working directory and a
  // normal window. Whether it worked is not looked at.
  virtual void Open(const ui::Form& owner, const std::string& file,
                    const std::string& parameters) = 0;
  // A message box owned by the application; the button pressed.
  virtual int ShowMessageBox(const std::string& text, const std::string& title,
                             std::uint32_t flags) = 0;
  // The text of the stored form of `unit` ("MAINR", "FOUND", ...); throws
  // when the program has none.
  virtual std::string StoredForm(const std::string& unit) = 0;
  // The running program's full path.
  virtual std::string ProgramPath() = 0;
  // `form`'s window handle as a signed 32-bit value (0 without a window).
  virtual std::int32_t WindowHandle(const ui::Form& form) = 0;
  // Ends every message loop; the program then exits as after a close.
  virtual void Terminate() = 0;
};

}  // namespace app
