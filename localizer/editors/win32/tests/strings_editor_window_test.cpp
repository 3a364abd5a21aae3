// The strings editor's real window under Wine, driven as a user would
// through posted clicks and typing: "Add..." opens the real item dialog,
// which refuses an empty name with its message box and puts the focus
// back in the name box; a typed name and value come back as a grid row.
// A row the user selects in the grid is the one "Delete" asks about and
// removes, and "OK" hands what is left to the localizer's Strings.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "localizer/editors/locstrings.h"
#include "localizer/editors/win32/tests/user_script.h"
#include "localizer/editors/win32/win32_editor_ui.h"
#include "localizer/localizer.h"
#include "platform/win32/win32_text.h"
#include "ui/component.h"
#include "ui/win32/application.h"
#include "ui/win32/win32_window_system.h"

namespace localizer {
namespace {

using testing::ShownWindow;

constexpr wchar_t kTitle[] = L"Localizer test";

// The children of `parent` of a window class, from top to bottom, then
// left to right.
std::vector<HWND> Children(HWND parent, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND child = FindWindowExW(parent, nullptr, className, nullptr); child != nullptr;
       child = FindWindowExW(parent, child, className, nullptr)) {
    found.push_back(child);
  }
  auto place = [](HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return std::make_pair(rect.top, rect.left);
  };
  std::sort(found.begin(), found.end(), [&](HWND a, HWND b) { return place(a) < place(b); });
  return found;
}

HWND Button(HWND parent, const wchar_t* caption) {
  return FindWindowExW(parent, nullptr, L"Button", caption);
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring CellText(HWND list, int row, int col) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = col;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

void Type(HWND edit, const std::wstring& text) {
  for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}

SIZE ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right, rect.bottom};
}

TEST(StringsEditorWindow, AddsAndDeletesStringsThroughTheRealDialogs) {
  ui::win32::Application application;
  application.SetTitle("Localizer test");
  ui::win32::Win32WindowSystem windows(application);
  RegisterEditorWindows(windows);
  Win32EditorUi ui(application, windows);
  platform::win32::Win32Text text;
  ui::Component owner;
  owner.SetName("frmMain");
  TLocalizer& localizer = owner.Adopt(std::make_unique<TLocalizer>());

  HWND editor = nullptr;
  HWND item = nullptr;
  std::vector<HWND> edits;
  testing::UserScript script({
      [&] {
        editor = ShownWindow(nullptr, L"TLocalizer Strings Editor");
        if (editor == nullptr) return false;
        const SIZE client = ClientSize(editor);
        EXPECT_EQ(client.cx, 429);
        EXPECT_EQ(client.cy, 317);
        // An empty table: one empty row, nothing to edit or delete.
        HWND grid = FindWindowExW(editor, nullptr, WC_LISTVIEWW, nullptr);
        EXPECT_NE(grid, nullptr);
        EXPECT_EQ(SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0), 1);
        EXPECT_FALSE(IsWindowEnabled(Button(editor, L"Edit...")));
        EXPECT_FALSE(IsWindowEnabled(Button(editor, L"Delete")));
        PostMessageW(Button(editor, L"Add..."), BM_CLICK, 0, 0);
        return true;
      },
      [&] {
        item = ShownWindow(nullptr, L"TLocalizer Strings Item");
        if (item == nullptr) return false;
        edits = Children(item, L"Edit");
        EXPECT_EQ(edits.size(), 2u);
        if (edits.size() != 2) return true;
        const SIZE client = ClientSize(item);
        EXPECT_EQ(client.cx, 293);
        EXPECT_EQ(client.cy, 137);
        EXPECT_EQ(GetFocus(), edits[0]);
        PostMessageW(Button(item, L"OK"), BM_CLICK, 0, 0);  // with no name
        return true;
      },
      [&] {
        HWND box = ShownWindow(L"#32770", kTitle);
        if (box == nullptr) return false;
        EXPECT_NE(FindWindowExW(box, nullptr, L"Static", L"\"Name\" must be filled."), nullptr);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
      },
      [&] {
        if (ShownWindow(L"#32770", kTitle) != nullptr) return false;
        EXPECT_NE(ShownWindow(nullptr, L"TLocalizer Strings Item"), nullptr);
        EXPECT_EQ(GetFocus(), edits[0]);
        Type(edits[0], L"Greeting");
        Type(edits[1], L"Hello, world");
        return true;
      },
      [&] {
        if (TextOf(edits[1]) != L"Hello, world") return false;
        PostMessageW(Button(item, L"OK"), BM_CLICK, 0, 0);
        return true;
      },
      [&] {
        if (ShownWindow(nullptr, L"TLocalizer Strings Item") != nullptr) return false;
        HWND grid = FindWindowExW(editor, nullptr, WC_LISTVIEWW, nullptr);
        EXPECT_EQ(SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0), 1);
        EXPECT_EQ(CellText(grid, 0, 0), L"Greeting");
        EXPECT_EQ(CellText(grid, 0, 1), L"Hello, world");
        EXPECT_TRUE(IsWindowEnabled(Button(editor, L"Edit...")));
        EXPECT_TRUE(IsWindowEnabled(Button(editor, L"Delete")));
        PostMessageW(Button(editor, L"Add..."), BM_CLICK, 0, 0);
        return true;
      },
      [&] {
        item = ShownWindow(nullptr, L"TLocalizer Strings Item");
        if (item == nullptr) return false;
        edits = Children(item, L"Edit");
        if (edits.size() != 2) return false;
        Type(edits[0], L"Farewell");
        Type(edits[1], L"Bye");
        return true;
      },
      [&] {
        if (TextOf(edits[1]) != L"Bye") return false;
        PostMessageW(Button(item, L"OK"), BM_CLICK, 0, 0);
        return true;
      },
      [&] {
        if (ShownWindow(nullptr, L"TLocalizer Strings Item") != nullptr) return false;
        // The user picks the first row (the new one was selected) and deletes it.
        HWND grid = FindWindowExW(editor, nullptr, WC_LISTVIEWW, nullptr);
        EXPECT_EQ(SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0), 2);
        EXPECT_EQ(SendMessageW(grid, LVM_GETNEXTITEM, -1, LVNI_SELECTED), 1);
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(grid, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
        PostMessageW(Button(editor, L"Delete"), BM_CLICK, 0, 0);
        return true;
      },
      [&] {
        HWND box = ShownWindow(L"#32770", L"TLocalizer");
        if (box == nullptr) return false;
        EXPECT_NE(FindWindowExW(box, nullptr, L"Static", L"Delete \"Greeting\"?"), nullptr);
        PostMessageW(box, WM_COMMAND, IDYES, 0);
        return true;
      },
      [&] {
        if (ShownWindow(L"#32770", L"TLocalizer") != nullptr) return false;
        HWND grid = FindWindowExW(editor, nullptr, WC_LISTVIEWW, nullptr);
        EXPECT_EQ(SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0), 1);
        EXPECT_EQ(CellText(grid, 0, 0), L"Farewell");
        PostMessageW(Button(editor, L"OK"), BM_CLICK, 0, 0);
        return true;
      },
  });
  const int timer = windows.StartTimer(30, [&] { script.Tick(); });
  EditLocalizerStrings(localizer, ui, text);
  windows.StopTimer(timer);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(localizer.Strings().Lines(), std::vector<std::string>{"Farewell=Bye"});
}

}  // namespace
}  // namespace localizer
