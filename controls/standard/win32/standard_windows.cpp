#include "controls/standard/win32/standard_windows.h"

#include <commctrl.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "controls/standard/edit.h"
#include "controls/standard/string_grid.h"
#include "platform/win32/wide_text.h"

namespace controls {
namespace {

using ui::win32::Win32WindowSystem;

std::wstring WindowTextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

class EditKind : public Win32WindowSystem::NativeKind {
 public:
  const wchar_t* ClassName() const override { return L"EDIT"; }
  DWORD Style(const ui::WinControl&) const override { return ES_AUTOHSCROLL | WS_TABSTOP; }
  DWORD ExStyle(const ui::WinControl&) const override { return WS_EX_CLIENTEDGE; }
  void Created(ui::WinControl& control, HWND window) override { Updated(control, window); }
  void Updated(ui::WinControl& control, HWND window) override {
    auto& edit = static_cast<TEdit&>(control);
    const std::wstring wanted = platform::win32::ToWide(edit.Text());
    if (WindowTextOf(window) != wanted) SetWindowTextW(window, wanted.c_str());
    if (edit.TakeSelectAll()) SendMessageW(window, EM_SETSEL, 0, -1);
  }
  std::optional<LRESULT> Command(ui::WinControl& control, HWND window, WORD code) override {
    if (code != EN_CHANGE) return std::nullopt;
    static_cast<TEdit&>(control).SetText(platform::win32::ToUtf8(WindowTextOf(window)));
    return 0;
  }
};

class StringGridKind : public Win32WindowSystem::NativeKind {
 public:
  const wchar_t* ClassName() const override { return WC_LISTVIEWW; }
  DWORD Style(const ui::WinControl&) const override {
    return LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP;
  }
  DWORD ExStyle(const ui::WinControl&) const override { return WS_EX_CLIENTEDGE; }

  void Created(ui::WinControl& control, HWND window) override {
    SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    Sync(static_cast<TStringGrid&>(control), window, shown_[window]);
  }

  void Updated(ui::WinControl& control, HWND window) override {
    const auto found = shown_.find(window);
    if (found == shown_.end()) return;
    Sync(static_cast<TStringGrid&>(control), window, found->second);
  }

  void Destroyed(HWND window) override {
    const auto found = shown_.find(window);
    if (found == shown_.end()) return;
    if (found->second.rowImages != nullptr) ImageList_Destroy(found->second.rowImages);
    shown_.erase(found);
  }

  std::optional<LRESULT> Notify(ui::WinControl& control, HWND window, NMHDR& header) override {
    auto& grid = static_cast<TStringGrid&>(control);
    const auto found = shown_.find(window);
    if (found == shown_.end()) return std::nullopt;
    if (header.code == LVN_ITEMCHANGED) {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      const bool selected =
          (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0;
      if (selected && !found->second.syncing && change.iItem >= 0) grid.RowSelected(change.iItem);
      return 0;
    }
    if (header.code == NM_DBLCLK) {
      grid.OnDblClick(grid);
      return 0;
    }
    return std::nullopt;
  }

 private:
  // What the window shows, so that an update touches only what changed.
  struct Shown {
    std::vector<int> widths;
    std::vector<std::vector<std::string>> cells;  // [row][col]
    int rowHeight = 0;
    HIMAGELIST rowImages = nullptr;
    bool syncing = false;
  };

  static void Sync(TStringGrid& grid, HWND window, Shown& shown) {
    shown.syncing = true;
    try {
      SyncRowHeight(grid, window, shown);
      SyncColumns(grid, window, shown);
      SyncCells(grid, window, shown);
      SyncSelection(grid, window);
    } catch (...) {
      shown.syncing = false;
      throw;
    }
    shown.syncing = false;
  }

  // A list view row is as high as its small images: an empty image list
  // of that height sets it.
  static void SyncRowHeight(const TStringGrid& grid, HWND window, Shown& shown) {
    if (shown.rowHeight == grid.DefaultRowHeight()) return;
    HIMAGELIST images = ImageList_Create(1, grid.DefaultRowHeight(), ILC_COLOR, 0, 1);
    if (images == nullptr)
      throw std::runtime_error("creating the row images of " + grid.Name() + " failed");
    SendMessageW(window, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    if (shown.rowImages != nullptr) ImageList_Destroy(shown.rowImages);
    shown.rowImages = images;
    shown.rowHeight = grid.DefaultRowHeight();
  }

  static void SyncColumns(const TStringGrid& grid, HWND window, Shown& shown) {
    const auto count = static_cast<std::size_t>(grid.ColCount());
    while (shown.widths.size() < count) {
      LVCOLUMNW column{};
      column.mask = LVCF_WIDTH;
      column.cx = 0;
      const auto at = static_cast<int>(shown.widths.size());
      if (SendMessageW(window, LVM_INSERTCOLUMNW, at, reinterpret_cast<LPARAM>(&column)) < 0) {
        throw std::runtime_error("adding a column to " + grid.Name() + " failed");
      }
      shown.widths.push_back(0);
      for (auto& row : shown.cells) row.emplace_back();
    }
    while (shown.widths.size() > count) {
      SendMessageW(window, LVM_DELETECOLUMN, shown.widths.size() - 1, 0);
      shown.widths.pop_back();
      for (auto& row : shown.cells) row.pop_back();
    }
    for (std::size_t col = 0; col < count; ++col) {
      const int width = grid.ColWidths(static_cast<int>(col));
      if (shown.widths[col] == width) continue;
      SendMessageW(window, LVM_SETCOLUMNWIDTH, col, MAKELPARAM(width, 0));
      shown.widths[col] = width;
    }
  }

  static void SyncCells(const TStringGrid& grid, HWND window, Shown& shown) {
    const auto rows = static_cast<std::size_t>(grid.RowCount());
    while (shown.cells.size() < rows) {
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(shown.cells.size());
      item.pszText = const_cast<wchar_t*>(L"");
      if (SendMessageW(window, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
        throw std::runtime_error("adding a row to " + grid.Name() + " failed");
      }
      shown.cells.emplace_back(shown.widths.size());
    }
    while (shown.cells.size() > rows) {
      SendMessageW(window, LVM_DELETEITEM, shown.cells.size() - 1, 0);
      shown.cells.pop_back();
    }
    for (std::size_t row = 0; row < rows; ++row) {
      for (std::size_t col = 0; col < shown.widths.size(); ++col) {
        const std::string& text = grid.Cells(static_cast<int>(col), static_cast<int>(row));
        if (shown.cells[row][col] == text) continue;
        std::wstring wide = platform::win32::ToWide(text);
        LVITEMW item{};
        item.iSubItem = static_cast<int>(col);
        item.pszText = wide.data();
        SendMessageW(window, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        shown.cells[row][col] = text;
      }
    }
  }

  static void SyncSelection(const TStringGrid& grid, HWND window) {
    const auto selected =
        static_cast<int>(SendMessageW(window, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    if (selected == grid.Row()) return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(window, LVM_SETITEMSTATE, grid.Row(), reinterpret_cast<LPARAM>(&item));
    SendMessageW(window, LVM_ENSUREVISIBLE, grid.Row(), FALSE);
  }

  std::unordered_map<HWND, Shown> shown_;
};

}  // namespace

void RegisterEditWindow(Win32WindowSystem& windows) {
  windows.RegisterNativeKind(kEditWindow, std::make_shared<EditKind>());
}

void RegisterStringGridWindow(Win32WindowSystem& windows) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
  if (!InitCommonControlsEx(&classes))
    throw std::runtime_error("loading the list view class failed");
  windows.RegisterNativeKind(kStringGridWindow, std::make_shared<StringGridKind>());
}

}  // namespace controls
