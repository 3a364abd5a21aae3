// QuorvexRemover.exe: the title, the main window and the message loop until
// the main window closes or the program is told to end.

#include <windows.h>

#include <exception>

#include "app/application_title.h"
#include "app/win32/win32_desktop.h"
#include "app/windows/mainr.h"
#include "controls/enhlv/win32/enhlv_window.h"
#include "controls/gpanel/win32/gpanel_paint.h"
#include "controls/offbtn/win32/offbtn_paint.h"
#include "controls/standard/win32/standard_paint.h"
#include "platform/win32/win32_machine.h"
#include "scanner/scan_context.h"
#include "ui/win32/application.h"
#include "ui/win32/win32_window_system.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::win32::Application application;
  application.SetTitle(app::kApplicationTitle);
  ui::win32::Win32WindowSystem windows(application);
  // The painters and the list view's window before any form is read.
  controls::RegisterStandardPainters(windows);
  controls::RegisterOffice97ButtonPainter(windows);
  controls::RegisterGPanelPainter(windows);
  controls::RegisterEnhListView(windows);

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
