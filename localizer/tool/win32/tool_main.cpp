// LocalizerTool.exe: the program's forms built as the form designer holds
// them, never shown; a window lists their localizers and carries out the
// commands of the one selected, over language files read and written with
// the system's profile functions.

#include <windows.h>

#include <exception>

#include "app/win32/program_painters.h"
#include "app/win32/win32_desktop.h"
#include "localizer/editors/win32/win32_editor_ui.h"
#include "localizer/tool/program_forms.h"
#include "localizer/tool/tool_window.h"
#include "localizer/win32/profile_store.h"
#include "platform/win32/win32_machine.h"
#include "scanner/scan_context.h"
#include "ui/win32/application.h"
#include "ui/win32/win32_window_system.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::win32::Application application;
  application.SetTitle("Localizer Tool");
  ui::win32::Win32WindowSystem windows(application);
  platform::win32::Win32Machine machine;
  scanner::ScanContext context{machine.machine(), {}};
  app::Win32Desktop desktop(application, windows);
  localizer::Win32EditorUi ui(application, windows);
  try {
    app::RegisterProgramPainters(windows);
    localizer::RegisterEditorWindows(windows);
    const auto forms = localizer::BuildProgramForms(windows, desktop, context);
    const auto localizers = localizer::FindLocalizers(forms);
    for (const auto& found : localizers) {
      found.localizer->SetStoreOpener(localizer::win32::ProfileStoreOpener());
    }
    localizer::TfrmLocalizerTool tool(windows, localizers, ui, machine.files, machine.text);
    application.SetMainForm(&tool);
    application.Run();
    application.SetMainForm(nullptr);
  } catch (...) {
    application.ShowException(std::current_exception());
  }
  return 0;
}
