#include "app/e2e/message_box.h"

#include "app/e2e/top_windows.h"
#include "app/e2e/user_input.h"

namespace e2e {
namespace {

// The box's text is its one static control with text (the icon's has none).
BOOL CALLBACK CollectText(HWND child, LPARAM text) {
  if (lstrcmpiW(ClassOf(child).c_str(), L"Static") != 0) return TRUE;
  const std::wstring shown = CaptionOf(child);
  if (!shown.empty()) *reinterpret_cast<std::wstring*>(text) = shown;
  return TRUE;
}

bool HasButton(HWND box, int id) {
  const HWND button = GetDlgItem(box, id);
  return button != nullptr && IsWindowVisible(button);
}

}  // namespace

MessageBoxView ReadMessageBox(HWND box) {
  MessageBoxView view;
  EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&view.text));
  view.ok = HasButton(box, IDOK);
  view.yes = HasButton(box, IDYES);
  view.no = HasButton(box, IDNO);
  view.cancel = HasButton(box, IDCANCEL);
  return view;
}

bool ClickMessageBoxButton(HWND box, int id) {
  if (!HasButton(box, id)) return false;
  const RECT rect = ScreenRect(GetDlgItem(box, id));
  Click({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  return true;
}

}  // namespace e2e
