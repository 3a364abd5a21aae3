#include "controls/enhlv/win32/enhlv_window.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>

#include "controls/enhlv/enhlv.h"
#include "platform/win32/wide_text.h"

namespace controls {

namespace {

using ui::win32::Win32WindowSystem;

std::wstring Wide(const std::string& text) { return platform::win32::ToWide(text); }

// On Windows a wide character is a UTF-16 unit.
const wchar_t* WideOf(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

DWORD ViewStyleBits(TViewStyle style) {
  switch (style) {
    case TViewStyle::vsIcon:
      return LVS_ICON;
    case TViewStyle::vsSmallIcon:
      return LVS_SMALLICON;
    case TViewStyle::vsList:
      return LVS_LIST;
    case TViewStyle::vsReport:
      return LVS_REPORT;
  }
  return LVS_ICON;
}

DWORD WindowStyle(const TEnhListView& list) {
  return ViewStyleBits(list.ViewStyle()) | (list.ShowColumnHeaders() ? 0 : LVS_NOCOLUMNHEADER);
}

// The model in one list view window. Its own pushes make the window report
// changes of the state images too; those are not the user's and are
// ignored.
class ListViewWindow : public ListViewPeer {
 public:
  ListViewWindow(TEnhListView& list, HWND window) : list_(list), window_(window) {}

  TEnhListView& List() const { return list_; }

  void Rebuild() {
    StyleChanged();
    ColumnsChanged();
    for (int row = 0; row < list_.Items().Count(); ++row) RowInserted(row);
    FitFollowingColumns();
  }

  // LVN_ITEMCHANGED: a check box the user switched.
  void ItemChanged(const NMLISTVIEW& change) {
    if (pushing_ || change.iItem < 0 || (change.uChanged & LVIF_STATE) == 0) return;
    if (((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) == 0) return;
    list_.CheckedInWindow(change.iItem, (change.uNewState & LVIS_STATEIMAGEMASK) >> 12 == 2);
  }

  // The tooltip's request for text, after the list view has answered it.
  void TextRequested(NMTTDISPINFOW& info) {
    std::u16string proposed;
    const wchar_t* text = info.lpszText;
    if (text == nullptr || text == LPSTR_TEXTCALLBACKW || IS_INTRESOURCE(text)) {
      text = info.szText;
    }
    for (; *text != 0; ++text) proposed.push_back(static_cast<char16_t>(*text));
    if (!list_.ToolTipTextRequested(proposed)) return;
    // The text lives in the list view, beyond this notification.
    info.lpszText = const_cast<wchar_t*>(WideOf(list_.ToolTipText()));
    info.hinst = nullptr;
  }

  // ListViewPeer
  void StyleChanged() override {
    const auto style = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
    const DWORD mask = LVS_TYPEMASK | LVS_NOCOLUMNHEADER;
    const DWORD wanted = (style & ~mask) | WindowStyle(list_);
    if (wanted != style) SetWindowLongW(window_, GWL_STYLE, static_cast<LONG>(wanted));
    const bool boxes = (ExStyle() & LVS_EX_CHECKBOXES) != 0;
    if (boxes != list_.Checkboxes()) {
      Pushing pushing(*this);
      SendMessageW(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES,
                   list_.Checkboxes() ? LVS_EX_CHECKBOXES : 0);
      // Switching them on gives every row an empty box.
      for (int row = 0; row < list_.Items().Count(); ++row) PushCheck(row);
    }
  }

  void ColumnsChanged() override {
    const TListColumns& columns = list_.Columns();
    // Changed in place: column 0 cannot always be deleted while others remain.
    for (int column = 0; column < columns.Count(); ++column) {
      std::wstring caption = Wide(columns.Caption(column));
      LVCOLUMNW info{};
      info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      info.pszText = caption.data();
      info.cx = std::max(0, columns.Width(column));
      info.iSubItem = column;
      const UINT message = column < columnsShown_ ? LVM_SETCOLUMNW : LVM_INSERTCOLUMNW;
      SendMessageW(window_, message, column, reinterpret_cast<LPARAM>(&info));
    }
    for (; columnsShown_ > columns.Count(); --columnsShown_) {
      SendMessageW(window_, LVM_DELETECOLUMN, columnsShown_ - 1, 0);
    }
    columnsShown_ = columns.Count();
    // A new column has no cells yet.
    for (int row = 0; row < list_.Items().Count(); ++row) PushCells(row);
    FitFollowingColumns();
  }

  void RowInserted(int row) override {
    Pushing pushing(*this);
    PushRow(row, LVM_INSERTITEMW);
    PushCells(row);
  }

  void RowDeleted(int row) override { SendMessageW(window_, LVM_DELETEITEM, row, 0); }
  void RowsCleared() override { SendMessageW(window_, LVM_DELETEALLITEMS, 0, 0); }

  void RowChanged(int row) override { PushRow(row, LVM_SETITEMW); }

  // The row's caption, tag and check state, inserted or set by `message`.
  void PushRow(int row, UINT message) {
    const TReplacementListItem& item = list_.Items()[row];
    std::wstring caption = Wide(item.Caption());
    LVITEMW info{};
    info.mask = LVIF_TEXT | LVIF_PARAM;
    info.iItem = row;
    info.pszText = caption.data();
    info.lParam = item.Data();
    Pushing pushing(*this);
    SendMessageW(window_, message, 0, reinterpret_cast<LPARAM>(&info));
    PushCheck(row);
  }

  void CellChanged(int row, int column) override { PushCell(row, column); }

  void RedrawRow(int row) override {
    PushCells(row);
    SendMessageW(window_, LVM_REDRAWITEMS, row, row);
  }

  void FitColumn(int column) override {
    SendMessageW(window_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE, 0));
  }

  void BeginUpdate() override { SendMessageW(window_, WM_SETREDRAW, FALSE, 0); }
  void EndUpdate() override {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window_, nullptr, TRUE);
  }

  bool InfoTips() const override { return (ExStyle() & LVS_EX_INFOTIP) != 0; }
  void SetInfoTips(bool on) override {
    SendMessageW(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP, on ? LVS_EX_INFOTIP : 0);
  }

  void SetToolTipTimes(const ToolTipTimes& times) override {
    if (HWND tip = getHandleToolTip(window_)) {
      // The automatic time sets the others from the initial delay.
      SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(times.initialDelay, 0));
      SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(times.stayVisible, 0));
    }
  }
  void SetToolTipMaxWidth(int width) override {
    if (HWND tip = getHandleToolTip(window_)) SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, width);
  }
  void SetToolTipTitle(TEnumToolTipIcon icon, const std::u16string& title) override {
    if (HWND tip = getHandleToolTip(window_)) {
      SendMessageW(tip, TTM_SETTITLEW, static_cast<WPARAM>(icon),
                   reinterpret_cast<LPARAM>(WideOf(title)));
    }
  }
  ui::Rect ToolTipBounds() override {
    RECT rect{};
    if (HWND tip = getHandleToolTip(window_)) GetWindowRect(tip, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
  }
  void MoveToolTip(ui::Point at) override {
    if (HWND tip = getHandleToolTip(window_)) {
      SetWindowPos(tip, HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }

  ui::Point PointerOnScreen() override {
    POINT at{};
    GetCursorPos(&at);
    return {at.x, at.y};
  }
  ui::Point ScreenToClient(ui::Point screen) override {
    POINT at{screen.x, screen.y};
    ::ScreenToClient(window_, &at);
    return {at.x, at.y};
  }
  std::optional<ListCell> HitTest(ui::Point client) override {
    LVHITTESTINFO hit{};
    hit.pt = {client.x, client.y};
    const auto row = static_cast<int>(
        SendMessageW(window_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row < 0 || hit.iItem < 0) return std::nullopt;
    return ListCell{hit.iItem, hit.iSubItem};
  }
  ui::Rect LabelBounds(int row) override {
    RECT rect{};
    rect.left = LVIR_LABEL;
    SendMessageW(window_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return {rect.left, rect.top, rect.right, rect.bottom};
  }
  ui::Size ScreenSize() override {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }

 private:
  struct Pushing {
    explicit Pushing(ListViewWindow& window) : window(window), was(window.pushing_) {
      window.pushing_ = true;
    }
    ~Pushing() { window.pushing_ = was; }
    ListViewWindow& window;
    bool was;
  };

  DWORD ExStyle() const {
    return static_cast<DWORD>(SendMessageW(window_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  }

  void PushCheck(int row) {
    if (!list_.Checkboxes()) return;
    LVITEMW state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(list_.Items()[row].Checked() ? 2 : 1);
    Pushing pushing(*this);
    SendMessageW(window_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }

  // Column n shows cell n - 1, or nothing when the row has fewer cells.
  void PushCell(int row, int column) {
    if (column < 1 || column >= columnsShown_) return;
    const TFixedSubItems& cells = list_.Items()[row].SubItems();
    std::wstring text = column - 1 < cells.Count() ? Wide(cells.Text(column - 1)) : L"";
    LVITEMW info{};
    info.iSubItem = column;
    info.pszText = text.data();
    SendMessageW(window_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&info));
  }

  void PushCells(int row) {
    for (int column = 1; column < columnsShown_; ++column) PushCell(row, column);
  }

  void FitFollowingColumns() {
    for (int column = 0; column < columnsShown_; ++column) {
      if (list_.Columns().Width(column) == TListColumns::kFollowContent) FitColumn(column);
    }
  }

  TEnhListView& list_;
  HWND window_;
  int columnsShown_ = 0;
  bool pushing_ = false;
};

class ListViewKind : public Win32WindowSystem::NativeKind {
 public:
  explicit ListViewKind(std::optional<std::pair<int, int>> version) : version_(version) {}

  const wchar_t* ClassName() const override { return WC_LISTVIEWW; }
  DWORD Style(const ui::WinControl& control) const override {
    return WindowStyle(dynamic_cast<const TEnhListView&>(control));
  }
  DWORD ExStyle(const ui::WinControl&) const override { return WS_EX_CLIENTEDGE; }

  void Created(ui::WinControl& control, HWND window) override {
    auto& list = dynamic_cast<TEnhListView&>(control);
    auto mirror = std::make_unique<ListViewWindow>(list, window);
    mirror->Rebuild();
    list.AttachPeer(*mirror, version_);
    mirrors_[window] = std::move(mirror);
  }

  void Destroyed(HWND window) override {
    const auto found = mirrors_.find(window);
    if (found == mirrors_.end()) return;
    // The list view is whole here: it lets its window go before it goes.
    found->second->List().DetachPeer();
    mirrors_.erase(found);
  }

  std::optional<LRESULT> Notify(ui::WinControl&, HWND window, NMHDR& header) override {
    if (header.code != LVN_ITEMCHANGED) return std::nullopt;
    if (ListViewWindow* mirror = MirrorOf(window)) {
      mirror->ItemChanged(reinterpret_cast<NMLISTVIEW&>(header));
    }
    return 0;
  }

  // The tooltip control tells the list view, its parent, what it is about
  // to do; the list view answers first, then the model has its say.
  LRESULT Message(ui::WinControl&, HWND window, UINT message, WPARAM, LPARAM lParam,
                  const std::function<LRESULT()>& system) override {
    if (message != WM_NOTIFY) return system();
    auto& header = *reinterpret_cast<NMHDR*>(lParam);
    ListViewWindow* mirror = MirrorOf(window);
    if (mirror == nullptr || header.hwndFrom == nullptr ||
        header.hwndFrom != getHandleToolTip(window) ||
        (header.code != TTN_GETDISPINFOW && header.code != TTN_SHOW)) {
      return system();
    }
    const LRESULT answer = system();
    if (header.code == TTN_GETDISPINFOW) {
      mirror->TextRequested(reinterpret_cast<NMTTDISPINFOW&>(header));
      return answer;
    }
    // Placed by us: the tooltip is to keep that place.
    return mirror->List().ToolTipShowing() ? TRUE : answer;
  }

 private:
  ListViewWindow* MirrorOf(HWND window) const {
    const auto found = mirrors_.find(window);
    return found == mirrors_.end() ? nullptr : found->second.get();
  }

  std::optional<std::pair<int, int>> version_;
  std::unordered_map<HWND, std::unique_ptr<ListViewWindow>> mirrors_;
};

}  // namespace

HWND getHandleToolTip(HWND listView) {
  return reinterpret_cast<HWND>(SendMessageW(listView, LVM_GETTOOLTIPS, 0, 0));
}

std::optional<std::pair<int, int>> CommonControlsVersion() {
  HMODULE library = LoadLibraryW(L"comctl32.dll");
  if (library == nullptr) return std::nullopt;
  std::optional<std::pair<int, int>> version;
  // Through void*: the export's real type is not FARPROC's.
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
  DLLVERSIONINFO info{};
  info.cbSize = sizeof(info);
  if (getVersion != nullptr && SUCCEEDED(getVersion(&info))) {
    version =
        std::pair{static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion)};
  }
  FreeLibrary(library);
  return version;
}

void RegisterEnhListView(ui::win32::Win32WindowSystem& windows) {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof(classes);
  classes.dwICC = ICC_LISTVIEW_CLASSES;
  if (!InitCommonControlsEx(&classes)) {
    throw std::runtime_error("the common controls' list view could not be loaded");
  }
  windows.RegisterNativeKind(kListViewWindow,
                             std::make_shared<ListViewKind>(CommonControlsVersion()));
}

}  // namespace controls
