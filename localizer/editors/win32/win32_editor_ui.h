#pragma once
// The editors on the Windows desktop: the system's message boxes and
// common file dialogs, and the editors' windows on the program's window
// system.

#include "localizer/editors/editor_forms.h"
#include "ui/win32/application.h"
#include "ui/win32/win32_window_system.h"

namespace localizer {

// Everything the editors' windows need of `windows`: the painters of
// labels and panels, the edit box and the string grid windows.
void RegisterEditorWindows(ui::win32::Win32WindowSystem& windows);

class Win32EditorUi : public FormsEditorUi {
 public:
  // Messages and errors carry the application's title.
  Win32EditorUi(ui::win32::Application& application, ui::win32::Win32WindowSystem& windows)
      : FormsEditorUi(windows), application_(application) {}

  bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override;
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  std::optional<std::string> ChooseFileToOpen(const FileDialogOptions& options) override;
  std::optional<std::string> ChooseFileToSave(const FileDialogOptions& options) override;

 private:
  ui::win32::Application& application_;
};

}  // namespace localizer
