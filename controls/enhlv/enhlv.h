#pragma once
// TEnhListView: the platform's list view with two additions. The program
// takes over the tips it shows for its cells (text, title and icon, how
// soon and how long, where), and the cells of its rows keep the platform
// view in step, re-measuring a column that follows its content.
//
// The model here is portable. While the control has a window, a
// ListViewPeer mirrors every change in the platform's list view and hands
// back what only the platform knows (the pointer, hit tests, the tip's
// window); without one the model just holds its state.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/enhlv/enhlv_tooltips.h"
#include "controls/enhlv/fixed_sub_items.h"
#include "ui/event.h"
#include "ui/persistent.h"
#include "ui/string_list.h"
#include "ui/win_control.h"

namespace controls {

// The kind of native window a TEnhListView lives in.
inline constexpr std::string_view kListViewWindow = "ListView";

enum class TViewStyle : std::int32_t { vsIcon, vsSmallIcon, vsList, vsReport };

class TEnhListView;

// A cell of the window: the row's index and its logical column (0 for the
// row's own text, n for its cell n - 1).
struct ListCell {
  int row = -1;
  int column = 0;
  friend bool operator==(const ListCell&, const ListCell&) = default;
};

// The platform's side of one list view window.
class ListViewPeer {
 public:
  virtual ~ListViewPeer() = default;

  // Pushed: the model changed.
  // View style, check boxes or column headers.
  virtual void StyleChanged() = 0;
  // Any column: all of them again, and the cells they show.
  virtual void ColumnsChanged() = 0;
  // A row at `row` with its caption, check state, tag and cells.
  virtual void RowInserted(int row) = 0;
  virtual void RowDeleted(int row) = 0;
  virtual void RowsCleared() = 0;
  // The row's caption, check state or tag.
  virtual void RowChanged(int row) = 0;
  // The text of `column` of `row` is to be asked for again.
  virtual void CellChanged(int row, int column) = 0;
  // Every column of the row shows its text again.
  virtual void RedrawRow(int row) = 0;
  // The column's width to what it shows now.
  virtual void FitColumn(int column) = 0;
  // A batch of changes that the window draws once, at its end.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;

  // The window's info-tip style flag.
  virtual bool InfoTips() const = 0;
  virtual void SetInfoTips(bool on) = 0;

  // The list view's own tooltip control.
  virtual void SetToolTipTimes(const ToolTipTimes& times) = 0;
  virtual void SetToolTipMaxWidth(int width) = 0;
  // An empty title clears it.
  virtual void SetToolTipTitle(TEnumToolTipIcon icon, const std::u16string& title) = 0;
  // The tip window on the screen, and moving it there (top-most, its
  // size kept, not activated).
  virtual ui::Rect ToolTipBounds() = 0;
  virtual void MoveToolTip(ui::Point at) = 0;

  // Asked.
  virtual ui::Point PointerOnScreen() = 0;
  virtual ui::Point ScreenToClient(ui::Point screen) = 0;
  // The row and column at a client point (none over empty space).
  virtual std::optional<ListCell> HitTest(ui::Point client) = 0;
  // The rectangle of the row's label, in client coordinates.
  virtual ui::Rect LabelBounds(int row) = 0;
  virtual ui::Size ScreenSize() = 0;
};

// The columns: a caption and a width each, the width in pixels or
// kFollowContent. Stored in a form as two lists, Columns.Captions and
// Columns.Widths (decimal; a missing width is kDefaultWidth).
class TListColumns : public ui::Persistent {
 public:
  static constexpr int kFollowContent = -1;
  static constexpr int kDefaultWidth = 50;

  explicit TListColumns(TEnhListView& listView);
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  int Count() const { return static_cast<int>(captions_.Count()); }
  const std::string& Caption(int index) const;
  int Width(int index) const;
  void Add(const std::string& caption, int width = kDefaultWidth);
  // Throw std::out_of_range for a column that is not there, and
  // std::invalid_argument for a width below kFollowContent.
  void SetCaption(int index, const std::string& caption);
  void SetWidth(int index, int width);
  void Clear();

  ui::StringList* Captions() { return &captions_; }
  ui::StringList* Widths() { return &widths_; }

 private:
  void Changed();

  TEnhListView& listView_;
  ui::StringList captions_;
  ui::StringList widths_;
  std::vector<int> parsed_;
  bool batch_ = false;
};

// A row: its caption (the first column), check state, a tag the user never
// sees, and its cells.
class TReplacementListItem : private ListRowLink {
 public:
  explicit TReplacementListItem(TEnhListView& listView);
  ~TReplacementListItem() override = default;
  TReplacementListItem(const TReplacementListItem&) = delete;
  TReplacementListItem& operator=(const TReplacementListItem&) = delete;

  TEnhListView& ListView() const { return listView_; }
  int Index() const;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  std::intptr_t Data() const { return data_; }
  void SetData(std::intptr_t data);
  TFixedSubItems& SubItems() { return subItems_; }
  const TFixedSubItems& SubItems() const { return subItems_; }

 private:
  friend class TEnhListView;
  void RefreshColumn(int column) override;
  void RedrawRow() override;
  void BeginUpdate() override;
  void EndUpdate() override;

  TEnhListView& listView_;
  std::string caption_;
  bool checked_ = false;
  std::intptr_t data_ = 0;
  TFixedSubItems subItems_;
};

// The rows, in order.
class TListItems {
 public:
  explicit TListItems(TEnhListView& listView) : listView_(listView) {}

  int Count() const { return static_cast<int>(rows_.size()); }
  // Throws std::out_of_range for a row that is not there.
  TReplacementListItem& Item(int index) const;
  TReplacementListItem& operator[](int index) const { return Item(index); }
  int IndexOf(const TReplacementListItem& row) const;
  TReplacementListItem& Add();
  TReplacementListItem& Insert(int index);
  void Delete(int index);
  void Clear();
  // Nested batches: the window draws once, when the outermost one ends.
  void BeginUpdate();
  void EndUpdate();

 private:
  TEnhListView& listView_;
  std::vector<std::unique_ptr<TReplacementListItem>> rows_;
  int updates_ = 0;
};

class TEnhListView : public ui::WinControl {
 public:
  using TOnToolTipEvent = void(ui::Component& sender, TReplacementListItem& item, int logicalCol,
                               std::u16string& toolTipText, std::u16string& toolTipTitle,
                               TEnumToolTipIcon& toolTipTitleIcon, TTooltipOptions& options);
  using TOnShowToolTipEvent = void(ui::Component& Sender, TReplacementListItem& item,
                                   int logicalCol, const ui::Rect& fieldBound,
                                   const ui::Rect& oldTooltipBound, int& AdjustedTooltipLeft,
                                   int& AdjustedTooltipTop);

  TEnhListView();
  ~TEnhListView() override;
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }
  std::string_view NativeWindowKind() const override { return kListViewWindow; }

  TListItems& Items() { return items_; }
  const TListItems& Items() const { return items_; }
  TListColumns& Columns() { return columns_; }
  const TListColumns& Columns() const { return columns_; }
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle style);
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool on);
  bool ShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool on);

  // The tooltip options and the widest a tip grows before its text wraps
  // (-1: no limit).
  TTooltipOptions ToolTipOptions() const { return toolTipOptions_; }
  int ToolTipWidth() const { return getToolTipWidth(); }
  bool ShowToolTips() const { return GetToolTips(); }

  ui::Event<TOnToolTipEvent> OnToolTip;
  ui::Event<TOnShowToolTipEvent> OnShowToolTip;

  virtual int getToolTipWidth() const { return toolTipWidth_; }
  // Takes effect when the next tip asks for its text.
  virtual void setToolTipWidth(int width) { toolTipWidth_ = width; }
  // The window's info-tip style flag (kept here until there is a window).
  virtual bool GetToolTips() const;
  // Of ttoOffSet and ttoBelowItem the one newly asked for wins (both new:
  // ttoOffSet); stored, and the tooltip's delay times follow.
  virtual void SetToolTipOptions(TTooltipOptions value);
  virtual void SetToolTips(bool on);
  // The handlers, when assigned.
  virtual void doOnToolTip(TReplacementListItem& item, int logicalCol, std::u16string& text,
                           std::u16string& title, TEnumToolTipIcon& icon, TTooltipOptions& options);
  virtual void doShowToolTip(ui::Component& sender, TReplacementListItem& item, int logicalCol,
                             const ui::Rect& fieldBound, const ui::Rect& oldTooltipBound, int& left,
                             int& top);
  // Whether the platform's tips can show a title; known once there is a
  // window.
  bool SupportsTooltipTitle() const { return supportsTitle_; }

  // The window's side.
  // The window exists: `peer` mirrors the list view from now on (it has
  // pushed the state already), with titles as `commonControlsVersion`
  // allows. Detached when the window goes.
  void AttachPeer(ListViewPeer& peer, std::optional<std::pair<int, int>> commonControlsVersion);
  void DetachPeer();
  ListViewPeer* Peer() const { return peer_; }
  // The user switched a row's check box.
  void CheckedInWindow(int row, bool checked);
  // The tip asks for its text, after the platform has handled the request
  // and proposed `text`: true when the tip is to show ToolTipText() instead.
  bool ToolTipTextRequested(const std::u16string& text);
  const std::u16string& ToolTipText() const { return tipText_; }
  // The tip is about to show, after the platform placed it: true when it
  // was moved.
  bool ToolTipShowing();
  // The options of the tip being prepared.
  TTooltipOptions TipOptions() const { return tipOptions_; }

 protected:
  // A new row.
  virtual std::unique_ptr<TReplacementListItem> CreateListItem();

 private:
  friend class TListItems;
  friend class TListColumns;
  friend class TReplacementListItem;
  TListColumns* ColumnsObject() { return &columns_; }
  // The row under the pointer, if any.
  std::optional<ListCell> CellUnderPointer();
  void RefreshCell(int row, int column);

  TListItems items_{*this};
  TListColumns columns_{*this};
  TViewStyle viewStyle_ = TViewStyle::vsIcon;
  bool checkboxes_ = false;
  bool showColumnHeaders_ = true;
  TTooltipOptions toolTipOptions_ = Option(TEnumToolTipOptions::ttoAdjustForScreenBoundary);
  TTooltipOptions tipOptions_ = toolTipOptions_;
  int toolTipWidth_ = -1;
  bool toolTips_ = false;
  std::u16string tipText_;
  bool supportsTitle_ = false;
  ListViewPeer* peer_ = nullptr;
};

}  // namespace controls
