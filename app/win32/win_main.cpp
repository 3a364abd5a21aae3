// QuorvexRemover.exe: the title, the main window and the message loop until
// the main window closes or the program is told to end. Started with
// switches it opens no window and carries out its command line instead.

#include <windows.h>

#include <exception>

#include "app/application_title.h"
#include "app/command_line/run_command.h"
#include "app/win32/program_painters.h"
#include "app/win32/win32_console.h"
#include "app/win32/win32_desktop.h"
#include "app/windows/mainr.h"
#include "platform/win32/win32_event_log.h"
#include "platform/win32/win32_machine.h"
#include "scanner/scan_context.h"
#include "ui/win32/application.h"
#include "ui/win32/win32_window_system.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (const auto arguments = app::ProgramArguments(); !arguments.empty()) {
    platform::win32::Win32Machine machine;
    app::Win32Console console;
    platform::win32::Win32EventLog events;
    app::CommandLineHost host{console, events, app::ComputerName()};
    return app::RunCommandLine(arguments, machine.machine(), host);
  }
  ui::win32::Application application;
  application.SetTitle(app::kApplicationTitle);
  ui::win32::Win32WindowSystem windows(application);
  app::RegisterProgramPainters(windows);

  platform::win32::Win32Machine machine;
  scanner::ScanContext context{machine.machine(), {}};
  app::Win32Desktop desktop(application, windows);
  try {
    app::TfrmMain frmMain(windows, desktop, context);
    application.SetMainForm(&frmMain);
    application.Run();
    application.SetMainForm(nullptr);
  } catch (...) {
    application.ShowException(std::current_exception());
  }
  return 0;
}
