// TEnhListView in the common controls' list view, under Wine with real
// windows: the window holds what the model holds (read back with the list
// view's own messages), a column that follows its content widens, the
// info-tip flag is ShowToolTips, the user's check boxes come back to the
// rows, and the tooltip control's text request and show notification go
// through the model's handling to the tooltip window.

#include "controls/enhlv/win32/enhlv_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/enhlv/enhlv.h"
#include "platform/win32/wide_text.h"
#include "ui/win32/testing/gui_objects.h"
#include "ui/win32/tests/host_fixture.h"

namespace controls {
namespace {

using ui::win32::testing::HostTest;
using ui::win32::testing::ProbeForm;
using ui::win32::testing::SendButton;
using ui::win32::testing::SendKeys;
using O = TEnumToolTipOptions;

// A row as the window has it.
struct WindowRow {
  std::wstring caption;
  std::vector<std::wstring> cells;
  bool checked;
  LPARAM tag;
  friend bool operator==(const WindowRow&, const WindowRow&) = default;
};

std::ostream& operator<<(std::ostream& out, const WindowRow& row) {
  out << "{" << std::string(row.caption.begin(), row.caption.end());
  for (const auto& cell : row.cells) out << " | " << std::string(cell.begin(), cell.end());
  return out << (row.checked ? " checked" : " unchecked") << " tag " << row.tag << "}";
}

std::wstring ItemText(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

std::vector<WindowRow> WindowRows(HWND list, int columns) {
  std::vector<WindowRow> rows;
  const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    item.lParam = 0x0BADF00D;  // poisoned: the window must answer
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const auto state =
        static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK));
    WindowRow row{ItemText(list, i, 0), {}, state >> 12 == 2, item.lParam};
    for (int column = 1; column < columns; ++column) row.cells.push_back(ItemText(list, i, column));
    rows.push_back(row);
  }
  return rows;
}

// The model's rows as the window is to show them.
std::vector<WindowRow> ModelRows(const TEnhListView& list) {
  std::vector<WindowRow> rows;
  for (int i = 0; i < list.Items().Count(); ++i) {
    const TReplacementListItem& item = list.Items()[i];
    WindowRow row{platform::win32::ToWide(item.Caption()), {}, item.Checked(), item.Data()};
    for (int column = 1; column < list.Columns().Count(); ++column) {
      row.cells.push_back(column - 1 < item.SubItems().Count()
                              ? platform::win32::ToWide(item.SubItems().Text(column - 1))
                              : L"");
    }
    rows.push_back(row);
  }
  return rows;
}

int ColumnWidth(HWND list, int column) {
  return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
}

DWORD ExStyle(HWND list) {
  return static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

class EnhListViewWindowTest : public HostTest {
 protected:
  EnhListViewWindowTest() { RegisterEnhListView(windows_); }

  // The results dialog's list: a report with check boxes, no headers, the
  // columns "Type" and "Value".
  TEnhListView& AddList(ui::Form& form, int valueWidth) {
    auto& list = form.Adopt(std::make_unique<TEnhListView>());
    list.SetName("lvList");
    list.SetBounds(20, 14, 597, 269);
    list.SetViewStyle(TViewStyle::vsReport);
    list.SetCheckboxes(true);
    list.SetShowColumnHeaders(false);
    list.Columns().Add("Type", 120);
    list.Columns().Add("Value", valueWidth);
    list.SetParent(&form);
    return list;
  }

  void AddRow(TEnhListView& list, const std::string& kind, const std::string& value, int tag,
              bool checked = true) {
    TReplacementListItem& row = list.Items().Add();
    row.SetChecked(checked);
    row.SetCaption(kind);
    row.SetData(tag);
    row.SubItems().Add(value);
  }

  std::unique_ptr<ProbeForm> form_;
};

// ---- rows, cells and columns ----

TEST_F(EnhListViewWindowTest, TheWindowHoldsTheRowsCheckStatesAndTagsOfTheModel) {
  form_ = MakeForm("frmFound", 640, 300);
  TEnhListView& list = AddList(*form_, 470);
  // Before the window: pushed when it is made.
  AddRow(list, "Registry Key", "HKLM\\SYSTEM\\CurrentControlSet\\Services\\MrxNet", 0);
  AddRow(list, "File", "C:\\WINDOWS\\inf\\oem7A.PNF", 1, false);
  form_->Show();
  HWND window = Window(list);
  ASSERT_NE(window, nullptr);
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  EXPECT_STREQ(cls, WC_LISTVIEWW);
  const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  EXPECT_EQ(style & LVS_TYPEMASK, DWORD{LVS_REPORT});
  EXPECT_NE(style & LVS_NOCOLUMNHEADER, 0u);
  EXPECT_NE(ExStyle(window) & LVS_EX_CHECKBOXES, 0u);
  EXPECT_EQ(ColumnWidth(window, 0), 120);
  EXPECT_EQ(ColumnWidth(window, 1), 470);
  EXPECT_EQ(WindowRows(window, 2),
            (std::vector<WindowRow>{
                {L"Registry Key", {L"HKLM\\SYSTEM\\CurrentControlSet\\Services\\MrxNet"}, true, 0},
                {L"File", {L"C:\\WINDOWS\\inf\\oem7A.PNF"}, false, 1}}));

  // Then every change as it comes.
  const struct {
    const char* name;
    std::function<void()> change;
  } kChanges[] = {
      {"a row added", [&] { AddRow(list, "File", "C:\\WINDOWS\\inf\\oem6C.PNF", 1); }},
      {"a row inserted first", [&] { list.Items().Insert(0).SetCaption("first"); }},
      {"check states",
       [&] {
         list.Items()[1].SetChecked(false);
         list.Items()[2].SetChecked(true);
       }},
      {"a tag", [&] { list.Items()[3].SetData(7); }},
      {"a cell inserted and one replaced",
       [&] {
         list.Items()[0].SubItems().Insert(0, "x");
         list.Items()[3].SubItems().Replace(0, "D:\\autorun.inf");
       }},
      {"a cell deleted leaves the column empty", [&] { list.Items()[3].SubItems().Delete(0); }},
      {"a row deleted", [&] { list.Items().Delete(1); }},
      {"a batch",
       [&] {
         list.Items().BeginUpdate();
         list.Items()[0].SetCaption("Registry Key");
         AddRow(list, "File", "E:\\x.lnk", 1);
         list.Items().EndUpdate();
       }},
      {"check boxes off and on again",
       [&] {
         list.SetCheckboxes(false);
         list.SetCheckboxes(true);
       }},
  };
  for (const auto& c : kChanges) {
    SCOPED_TRACE(c.name);
    c.change();
    EXPECT_EQ(WindowRows(window, 2), ModelRows(list));
  }
  EXPECT_EQ(IsWindowVisible(window), TRUE) << "the batch left the window drawing";

  list.Items().Clear();
  EXPECT_EQ(SendMessageW(window, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(EnhListViewWindowTest, ColumnsFollowTheModel) {
  form_ = MakeForm("form", 640, 300);
  TEnhListView& list = AddList(*form_, 470);
  AddRow(list, "File", "C:\\a.sys", 1);
  form_->Show();
  HWND window = Window(list);
  list.SetShowColumnHeaders(true);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & LVS_NOCOLUMNHEADER, 0);
  HWND header = reinterpret_cast<HWND>(SendMessageW(window, LVM_GETHEADER, 0, 0));
  list.Columns().Add("Size", 60);
  list.Items()[0].SubItems().Add("12 KB");
  list.Columns().SetCaption(0, "Kind");
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
  wchar_t caption[32] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = caption;
  column.cchTextMax = 32;
  SendMessageW(window, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  EXPECT_STREQ(caption, L"Kind");
  EXPECT_EQ(ColumnWidth(window, 2), 60);
  EXPECT_EQ(ItemText(window, 0, 2), L"12 KB");

  list.Columns().SetWidth(2, 33);
  EXPECT_EQ(ColumnWidth(window, 2), 33);
  list.Columns().SetCaption(1, "Path");
  EXPECT_EQ(ItemText(window, 0, 1), L"C:\\a.sys") << "the cells stay";
  list.SetViewStyle(TViewStyle::vsList);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
}

TEST_F(EnhListViewWindowTest, ACellAddedWidensASecondColumnThatFollowsItsContent) {
  const std::string longPath =
      "C:\\Documents and Settings\\All Users\\Application Data\\Quorvex\\mrxnet.sys";
  const struct {
    const char* name;
    int width;
    bool follows;
  } kCases[] = {{"width -1", -1, true}, {"width 150", 150, false}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    form_ = MakeForm("form", 640, 300);
    TEnhListView& list = AddList(*form_, c.width);
    AddRow(list, "File", "C:\\a.sys", 1);
    form_->Show();
    HWND window = Window(list);
    const int before = ColumnWidth(window, 1);
    TReplacementListItem& row = list.Items().Add();
    row.SetCaption("File");
    row.SubItems().Add(longPath);
    const int after = ColumnWidth(window, 1);
    const std::wstring wide = platform::win32::ToWide(longPath);
    const auto textWidth = static_cast<int>(
        SendMessageW(window, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
    if (c.follows) {
      EXPECT_GT(after, before);
      EXPECT_GE(after, textWidth) << "the whole path fits";
    } else {
      EXPECT_EQ(before, 150);
      EXPECT_EQ(after, 150);
    }
  }
}

// ---- the user's check boxes ----

TEST_F(EnhListViewWindowTest, TheUsersCheckBoxesComeBackToTheRows) {
  form_ = MakeForm("form", 640, 300);
  TEnhListView& list = AddList(*form_, 470);
  AddRow(list, "Registry Key", "HKLM\\x", 0);
  AddRow(list, "File", "C:\\y", 1);
  form_->Show();
  Pump(30);
  HWND window = Window(list);

  // A click on the second row's box.
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  SendMessageW(window, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&bounds));
  LVHITTESTINFO hit{};
  for (hit.pt = {bounds.left, (bounds.top + bounds.bottom) / 2}; hit.pt.x < bounds.left + 30;
       ++hit.pt.x) {
    hit.flags = 0;
    SendMessageW(window, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.flags & LVHT_ONITEMSTATEICON) break;
  }
  ASSERT_NE(hit.flags & LVHT_ONITEMSTATEICON, 0u) << "no check box found";
  MoveMouse(Screen(list, {hit.pt.x, hit.pt.y}));
  SendButton(MOUSEEVENTF_LEFTDOWN);
  SendButton(MOUSEEVENTF_LEFTUP);
  Pump(100);
  EXPECT_TRUE(list.Items()[0].Checked());
  EXPECT_FALSE(list.Items()[1].Checked());
  EXPECT_EQ(WindowRows(window, 2), ModelRows(list));

  // Space on the focused row switches it back; the form's pre-translation
  // lets the key through.
  ASSERT_TRUE(list.SetFocus());
  LVITEMW focus{};
  focus.stateMask = focus.state = LVIS_FOCUSED | LVIS_SELECTED;
  SendMessageW(window, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focus));
  SendKeys({}, VK_SPACE);
  Pump(100);
  EXPECT_TRUE(list.Items()[1].Checked());
  EXPECT_EQ(WindowRows(window, 2), ModelRows(list));
}

// ---- the info-tip flag ----

TEST_F(EnhListViewWindowTest, ShowToolTipsIsTheInfoTipStyleOfTheWindow) {
  const struct {
    const char* name;
    bool beforeWindow;
    bool afterWindow;
  } kCases[] = {
      {"false, as the results dialog stores it", false, false},
      {"true", true, true},
      {"switched on later", false, true},
      {"switched off later", true, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    form_ = MakeForm("form", 640, 300);
    TEnhListView& list = AddList(*form_, 470);
    list.SetToolTips(c.beforeWindow);
    form_->Show();
    HWND window = Window(list);
    EXPECT_EQ((ExStyle(window) & LVS_EX_INFOTIP) != 0, c.beforeWindow);
    list.SetToolTips(c.afterWindow);
    EXPECT_EQ((ExStyle(window) & LVS_EX_INFOTIP) != 0, c.afterWindow);
    EXPECT_NE(ExStyle(window) & LVS_EX_CHECKBOXES, 0u) << "only that flag";
    EXPECT_EQ(list.ShowToolTips(), c.afterWindow);
    // Read from the window, whoever set it there.
    SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP,
                 c.afterWindow ? 0 : LVS_EX_INFOTIP);
    EXPECT_EQ(list.ShowToolTips(), !c.afterWindow);
  }
}

// ---- tooltips ----

TEST_F(EnhListViewWindowTest, TheOptionsSetTheDelaysOfTheListViewsOwnTooltip) {
  const struct {
    const char* name;
    TTooltipOptions options;
    bool beforeWindow;
    int initial, autoPop, reshow;
  } kCases[] = {
      {"stored before the window", Option(O::ttoInstantShow), true, 1, 3000, 0},
      {"neither", Option(O::ttoAdjustForScreenBoundary), false, 500, 3000, 100},
      {"instant", Option(O::ttoInstantShow), false, 1, 3000, 0},
      {"long stay", Option(O::ttoLongStay), false, 500, 32000, 100},
      {"both", Option(O::ttoInstantShow) | Option(O::ttoLongStay), false, 1, 32000, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    form_ = MakeForm("form", 640, 300);
    TEnhListView& list = AddList(*form_, 470);
    if (c.beforeWindow) list.SetToolTipOptions(c.options);
    form_->Show();
    if (!c.beforeWindow) list.SetToolTipOptions(c.options);
    HWND tip = getHandleToolTip(Window(list));
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), c.initial);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), c.autoPop);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), c.reshow);
  }
}

// Wine's list view makes its tooltip control but gives it no tool, so it
// never asks for a tip by itself. The tool that Windows' list view keeps
// for its info tips is added here: the whole list view, its text asked for
// through the notifications. From then on the tooltip control works as it
// does under Windows, driven by the real pointer.
void AddInfoTipTool(HWND list) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = list;
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  ASSERT_TRUE(
      SendMessageW(getHandleToolTip(list), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// What reaches the tooltip control: Wine's tooltip keeps a title but has
// no TTM_GETTITLE to read it back, so the titles given are recorded on
// their way in.
class TitleRecorder {
 public:
  explicit TitleRecorder(HWND tip) : tip_(tip) {
    recorder_ = this;
    system_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
  }
  ~TitleRecorder() {
    SetWindowLongPtrW(tip_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(system_));
    recorder_ = nullptr;
  }
  TitleRecorder(const TitleRecorder&) = delete;
  TitleRecorder& operator=(const TitleRecorder&) = delete;

  // "icon:title" for each title given.
  std::vector<std::wstring> titles;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TTM_SETTITLEW) {
      recorder_->titles.push_back(std::to_wstring(wParam) + L":" +
                                  reinterpret_cast<const wchar_t*>(lParam));
    }
    return CallWindowProcW(recorder_->system_, window, message, wParam, lParam);
  }

  static inline TitleRecorder* recorder_ = nullptr;
  HWND tip_;
  WNDPROC system_ = nullptr;
};

class ToolTipWindowTest : public EnhListViewWindowTest {
 protected:
  // A list of two rows whose tips the handlers below take over.
  void Build(int formLeft) {
    form_ = MakeForm("form", 640, 300);
    form_->SetLeft(formLeft);
    list_ = &AddList(*form_, 470);
    AddRow(*list_, "Registry Key", "HKLM\\SYSTEM\\MrxNet", 0);
    AddRow(*list_, "File", "C:\\WINDOWS\\inf\\oem7A.PNF", 1);
    list_->SetToolTips(true);
    list_->SetToolTipOptions(Option(O::ttoOffSet) | Option(O::ttoAdjustForScreenBoundary));
    list_->setToolTipWidth(200);
    list_->OnToolTip.handler = [this](ui::Component&, TReplacementListItem& item, int column,
                                      std::u16string& text, std::u16string& title,
                                      TEnumToolTipIcon& icon, TTooltipOptions& options) {
      asked_.push_back({item.Index(), column, text});
      text = u"The whole value";
      if (item.Index() == 1) {
        title = u"File";
        icon = TEnumToolTipIcon::ttiWarning;
        options |= Option(O::ttoLongStay);
      }
    };
    list_->OnShowToolTip.handler = [this](ui::Component&, TReplacementListItem&, int,
                                          const ui::Rect& field, const ui::Rect& tip, int& left,
                                          int& top) {
      field_ = field;
      oldTip_ = tip;
      placed_ = {left, top};
    };
    form_->Show();
    window_ = Window(*list_);
    tip_ = getHandleToolTip(window_);
    ASSERT_NE(tip_, nullptr);
    AddInfoTipTool(window_);
  }

  // A screen point inside a cell.
  ui::Point CellPoint(int row, int column) {
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_LABEL;
    SendMessageW(window_, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    return Screen(*list_, {cell.left + 30, (cell.top + cell.bottom) / 2});
  }
  // The pointer rests on a cell until its tip shows; the screen point.
  ui::Point Hover(int row, int column) {
    const ui::Point at = CellPoint(row, column);
    SetCursorPos(at.x, at.y);
    Pump(3000, [&] { return IsWindowVisible(tip_) != FALSE; });
    return at;
  }
  // Off the list, until the tip has gone.
  void Leave() {
    MoveMouse(Screen(*form_, {5, 295}));
    Pump(3000, [&] { return !IsWindowVisible(tip_); });
  }

  struct Asked {
    int row;
    int column;
    std::u16string text;
    friend bool operator==(const Asked&, const Asked&) = default;
  };
  TEnhListView* list_ = nullptr;
  HWND window_ = nullptr;
  HWND tip_ = nullptr;
  std::vector<Asked> asked_;
  ui::Rect field_{};
  ui::Rect oldTip_{};
  ui::Point placed_{};
};

TEST_F(ToolTipWindowTest, ARealHoverTakesTheTipThroughBothHandlersToItsPlace) {
  Build(100);
  TitleRecorder recorder(tip_);
  const ui::Point pointer = Hover(1, 1);
  ASSERT_TRUE(IsWindowVisible(tip_)) << "no tip came";
  const int titledHeight = WindowRect(tip_).bottom - WindowRect(tip_).top;
  // Under Wine the list view proposes no text of its own.
  EXPECT_EQ(asked_, (std::vector<Asked>{{1, 1, u""}}));
  wchar_t shown[64] = {};
  GetWindowTextW(tip_, shown, 64);
  EXPECT_STREQ(shown, L"The whole value");
  EXPECT_EQ(recorder.titles, (std::vector<std::wstring>{L"2:File"}));
  EXPECT_EQ(SendMessageW(tip_, TTM_GETMAXTIPWIDTH, 0, 0), 200);
  EXPECT_EQ(SendMessageW(tip_, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 32000) << "this tip's own stay";

  // Beside the pointer, half a row lower, the size the tooltip gave it.
  RECT label{};
  label.left = LVIR_LABEL;
  SendMessageW(window_, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&label));
  EXPECT_EQ(field_, (ui::Rect{label.left, label.top, label.right, label.bottom}));
  EXPECT_EQ(placed_, (ui::Point{pointer.x + 20, pointer.y + (label.bottom - label.top) / 2}));
  const RECT now = WindowRect(tip_);
  EXPECT_EQ(now.left, placed_.x);
  EXPECT_EQ(now.top, placed_.y);
  EXPECT_EQ(now.right - now.left, oldTip_.Width());
  EXPECT_EQ(now.bottom - now.top, oldTip_.Height());
  EXPECT_NE(GetWindowLongW(tip_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(list_->ToolTipOptions(), Option(O::ttoOffSet) | Option(O::ttoAdjustForScreenBoundary))
      << "the list's options came back";

  // The next tip, over the other row: no title, the usual stay.
  Leave();
  asked_.clear();
  Hover(0, 0);
  ASSERT_TRUE(IsWindowVisible(tip_));
  EXPECT_EQ(asked_, (std::vector<Asked>{{0, 0, u""}}));
  EXPECT_EQ(recorder.titles, (std::vector<std::wstring>{L"2:File", L"0:"})) << "cleared";
  EXPECT_LT(WindowRect(tip_).bottom - WindowRect(tip_).top, titledHeight) << "no title line";
  EXPECT_EQ(SendMessageW(tip_, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 3000);
  Leave();
}

TEST_F(ToolTipWindowTest, ATipThatWouldCrossTheScreensRightEdgeEndsAtIt) {
  const int screen = GetSystemMetrics(SM_CXSCREEN);
  Build(100);
  // The form moved so that the pointer rests 60 pixels from the edge.
  form_->SetLeft(form_->Left() + screen - 60 - CellPoint(1, 1).x);
  const ui::Point pointer = Hover(1, 1);
  ASSERT_TRUE(IsWindowVisible(tip_));
  ASSERT_GT(pointer.x + 20 + oldTip_.Width(), screen) << "the case needs a tip past the edge";
  EXPECT_EQ(WindowRect(tip_).right, screen);
  Leave();
}

TEST_F(ToolTipWindowTest,
       ANotificationCarriesTheListViewsTextToTheHandlerAndEmptySpaceIsLeftAlone) {
  Build(100);
  // The pointer on a row: the text the notification carries goes to the
  // handler, and the notification comes back carrying the handler's.
  RECT cell{};
  cell.top = 1;
  cell.left = LVIR_LABEL;
  SendMessageW(window_, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
  MoveMouse(Screen(*list_, {cell.left + 5, cell.top + 3}));
  NMTTDISPINFOW info{};
  info.hdr = {tip_, reinterpret_cast<UINT_PTR>(window_), TTN_GETDISPINFOW};
  lstrcpyW(info.szText, L"proposed");
  info.lpszText = info.szText;
  SendMessageW(window_, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(asked_, (std::vector<Asked>{{0, 1, u"proposed"}}));
  EXPECT_STREQ(info.lpszText, L"The whole value");

  // Over empty space: neither handler, nor a move.
  asked_.clear();
  MoveMouse(Screen(*list_, {cell.left + 5, 250}));
  SetWindowPos(tip_, nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  info.lpszText = info.szText;
  SendMessageW(window_, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.lpszText, info.szText);
  NMHDR show{tip_, reinterpret_cast<UINT_PTR>(window_), TTN_SHOW};
  EXPECT_EQ(SendMessageW(window_, WM_NOTIFY, show.idFrom, reinterpret_cast<LPARAM>(&show)), 0)
      << "the tooltip places it itself";
  EXPECT_TRUE(asked_.empty());
  EXPECT_EQ(WindowRect(tip_).left, 7);
  EXPECT_EQ(WindowRect(tip_).top, 9);
}

// ---- resources ----

TEST_F(EnhListViewWindowTest, ListViewsAndTheirTooltipsAreFreedWithTheirForms) {
  // Every other round frees the list view before its form.
  int round = 0;
  auto cycle = [&] {
    const bool freeListFirst = round++ % 2 == 1;
    form_ = MakeForm("form", 640, 300);
    TEnhListView& list = AddList(*form_, -1);
    AddRow(list, "File", "C:\\a.sys", 1);
    list.SetToolTips(true);
    form_->Show();
    UpdateWindow(Window(*form_));
    if (freeListFirst) form_->Release(list);
    form_.reset();
  };
  ExpectCyclesLeaveNothing(cycle, 200);
}

}  // namespace
}  // namespace controls
