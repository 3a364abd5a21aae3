#include "localizer/editors/win32/win32_editor_ui.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <vector>

#include "controls/standard/win32/standard_paint.h"
#include "controls/standard/win32/standard_windows.h"
#include "platform/win32/wide_text.h"

namespace localizer {
namespace {

using platform::win32::ToUtf8;
using platform::win32::ToWide;

// The dialogs' buffer: a full path of the longest kind the system allows.
constexpr DWORD kFileNameLength = 32768;

// "A|*.a|B|*.*" as the dialogs take it: each part ends in a NUL, and one
// more NUL ends the list.
std::wstring DialogFilter(const std::string& filter) {
  std::wstring wide = ToWide(filter);
  for (wchar_t& c : wide) {
    if (c == L'|') c = L'\0';
  }
  wide.push_back(L'\0');
  return wide;
}

int MessageBoxOf(const std::string& text, const std::string& caption, UINT flags) {
  return MessageBoxW(GetActiveWindow(), ToWide(text).c_str(), ToWide(caption).c_str(), flags);
}

std::optional<std::string> ChooseFile(const FileDialogOptions& options, bool save) {
  const std::wstring filter = DialogFilter(options.filter);
  const std::wstring title = ToWide(options.title);
  const std::wstring extension = ToWide(options.defaultExtension);
  std::vector<wchar_t> name(kFileNameLength, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = kFileNameLength;
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.c_str();
  // An existing file is asked about by the command itself, where it asks.
  dialog.Flags =
      OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | (save ? 0 : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return ToUtf8(name.data());
}

}  // namespace

void RegisterEditorWindows(ui::win32::Win32WindowSystem& windows) {
  controls::RegisterStandardPainters(windows);
  controls::RegisterEditWindow(windows);
  controls::RegisterStringGridWindow(windows);
}

bool Win32EditorUi::AskYesNo(const std::string& text, const std::string& caption,
                             MessageIcon icon) {
  const UINT iconFlag = icon == MessageIcon::Exclamation ? MB_ICONEXCLAMATION : MB_ICONQUESTION;
  return MessageBoxOf(text, caption, MB_YESNO | iconFlag) == IDYES;
}

void Win32EditorUi::ShowMessage(const std::string& text) {
  MessageBoxOf(text, application_.Title(), MB_OK);
}

void Win32EditorUi::ShowError(const std::string& text) {
  MessageBoxOf(text, application_.Title(), MB_OK | MB_ICONERROR);
}

std::optional<std::string> Win32EditorUi::ChooseFileToOpen(const FileDialogOptions& options) {
  return ChooseFile(options, false);
}

std::optional<std::string> Win32EditorUi::ChooseFileToSave(const FileDialogOptions& options) {
  return ChooseFile(options, true);
}

}  // namespace localizer
