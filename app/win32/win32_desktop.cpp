#include "app/win32/win32_desktop.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "platform/win32/wide_text.h"
#include "ui/win32/stored_form_resource.h"

namespace app {

using platform::win32::ToUtf8;
using platform::win32::ToWide;

void Win32Desktop::Open(const ui::Form& owner, const std::string& file,
                        const std::string& parameters) {
  // The wide call, so that a program in a folder whose name the ANSI code
  // page cannot spell still finds its updater.
  ShellExecuteW(windows_.WindowOf(owner), L"open", ToWide(file).c_str(),
                ToWide(parameters).c_str(), L"", SW_SHOWNORMAL);
}

int Win32Desktop::ShowMessageBox(const std::string& text, const std::string& title,
                                 std::uint32_t flags) {
  HWND owner = application_.MainForm() != nullptr ? windows_.WindowOf(*application_.MainForm())
                                                  : nullptr;
  return MessageBoxW(owner, ToWide(text).c_str(), ToWide(title).c_str(), flags);
}

std::string Win32Desktop::StoredForm(const std::string& unit) {
  auto text = ui::win32::StoredFormResource(GetModuleHandleW(nullptr), unit);
  if (!text) throw std::runtime_error("The program has no stored form " + unit + ".");
  return *text;
}

std::string Win32Desktop::ProgramPath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return ToUtf8(std::wstring(path.data(), length));
    path.resize(path.size() * 2);  // cut short: a longer path
  }
}

std::int32_t Win32Desktop::WindowHandle(const ui::Form& form) {
  // Window handles carry 32 significant bits, also in a 64-bit process.
  return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(windows_.WindowOf(form)));
}

}  // namespace app
