#include "controls/enhlv/enhlv.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "ui/class_info.h"
#include "ui/publish.h"

namespace controls {

namespace {

int ParseWidth(const std::string& text) {
  int width = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), width);
  if (error != std::errc() || end != text.data() + text.size() ||
      width < TListColumns::kFollowContent) {
    throw std::invalid_argument("a column width is a number of pixels or -1, not \"" + text + "\"");
  }
  return width;
}

}  // namespace

// ---- columns ----

TListColumns::TListColumns(TEnhListView& listView) : listView_(listView) {
  captions_.OnChange = [this] { Changed(); };
  widths_.OnChange = [this] { Changed(); };
}

const ui::ClassInfo& TListColumns::StaticClass() {
  static const ui::ClassInfo info(
      "TListColumns", nullptr,
      ui::Publish<TListColumns>()
          .Object("Captions", &TListColumns::Captions, ui::StringList::StaticClass())
          .Object("Widths", &TListColumns::Widths, ui::StringList::StaticClass())
          .Done());
  return info;
}

const std::string& TListColumns::Caption(int index) const {
  return captions_.Line(static_cast<std::size_t>(index));
}

int TListColumns::Width(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("no such column");
  const auto at = static_cast<std::size_t>(index);
  return at < parsed_.size() ? parsed_[at] : kDefaultWidth;
}

void TListColumns::Add(const std::string& caption, int width) {
  if (width < kFollowContent) throw std::invalid_argument("a column width cannot be below -1");
  // One change for the pair: the widths first fill up to this column.
  batch_ = true;
  try {
    std::vector<std::string> widths = widths_.Lines();
    widths.resize(captions_.Count(), std::to_string(kDefaultWidth));
    widths.push_back(std::to_string(width));
    widths_.SetLines(std::move(widths));
    captions_.Add(caption);
  } catch (...) {
    batch_ = false;
    throw;
  }
  batch_ = false;
  Changed();
}

void TListColumns::SetCaption(int index, const std::string& caption) {
  if (index < 0 || index >= Count()) throw std::out_of_range("no such column");
  captions_.SetLine(static_cast<std::size_t>(index), caption);
}

void TListColumns::SetWidth(int index, int width) {
  if (index < 0 || index >= Count()) throw std::out_of_range("no such column");
  if (width < kFollowContent) throw std::invalid_argument("a column width cannot be below -1");
  std::vector<std::string> widths = widths_.Lines();
  widths.resize(std::max(widths.size(), captions_.Count()), std::to_string(kDefaultWidth));
  widths[static_cast<std::size_t>(index)] = std::to_string(width);
  widths_.SetLines(std::move(widths));
}

void TListColumns::Clear() {
  batch_ = true;
  captions_.Clear();
  widths_.Clear();
  batch_ = false;
  Changed();
}

void TListColumns::Changed() {
  if (batch_) return;
  std::vector<int> parsed;
  for (const std::string& line : widths_.Lines()) parsed.push_back(ParseWidth(line));
  parsed_ = std::move(parsed);
  if (ListViewPeer* peer = listView_.Peer()) peer->ColumnsChanged();
}

// ---- rows ----

TReplacementListItem::TReplacementListItem(TEnhListView& listView)
    : listView_(listView), subItems_(*this) {}

int TReplacementListItem::Index() const { return listView_.Items().IndexOf(*this); }

void TReplacementListItem::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (ListViewPeer* peer = listView_.Peer()) peer->RowChanged(Index());
}

void TReplacementListItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (ListViewPeer* peer = listView_.Peer()) peer->RowChanged(Index());
}

void TReplacementListItem::SetData(std::intptr_t data) {
  if (data == data_) return;
  data_ = data;
  if (ListViewPeer* peer = listView_.Peer()) peer->RowChanged(Index());
}

void TReplacementListItem::RefreshColumn(int column) { listView_.RefreshCell(Index(), column); }

void TReplacementListItem::RedrawRow() {
  if (ListViewPeer* peer = listView_.Peer()) peer->RedrawRow(Index());
}

// A batch on one row's cells is a batch on the whole list.
void TReplacementListItem::BeginUpdate() { listView_.Items().BeginUpdate(); }
void TReplacementListItem::EndUpdate() { listView_.Items().EndUpdate(); }

TReplacementListItem& TListItems::Item(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("no such row");
  return *rows_[static_cast<std::size_t>(index)];
}

int TListItems::IndexOf(const TReplacementListItem& row) const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].get() == &row) return static_cast<int>(i);
  }
  return -1;
}

TReplacementListItem& TListItems::Add() { return Insert(Count()); }

TReplacementListItem& TListItems::Insert(int index) {
  if (index < 0 || index > Count()) throw std::out_of_range("no such row");
  auto row = listView_.CreateListItem();
  TReplacementListItem& added = *row;
  rows_.insert(rows_.begin() + index, std::move(row));
  if (ListViewPeer* peer = listView_.Peer()) peer->RowInserted(index);
  return added;
}

void TListItems::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("no such row");
  // Off the window first, while the row can still be asked about.
  if (ListViewPeer* peer = listView_.Peer()) peer->RowDeleted(index);
  rows_.erase(rows_.begin() + index);
}

void TListItems::Clear() {
  if (ListViewPeer* peer = listView_.Peer()) peer->RowsCleared();
  rows_.clear();
}

void TListItems::BeginUpdate() {
  if (updates_++ == 0) {
    if (ListViewPeer* peer = listView_.Peer()) peer->BeginUpdate();
  }
}

void TListItems::EndUpdate() {
  if (updates_ == 0) return;
  if (--updates_ == 0) {
    if (ListViewPeer* peer = listView_.Peer()) peer->EndUpdate();
  }
}

// ---- the list view ----

const ui::ClassInfo& TEnhListView::StaticClass() {
  static const ui::ClassInfo info(
      "TEnhListView", &ui::WinControl::StaticClass(),
      ui::Publish<TEnhListView>()
          .Object("Columns", &TEnhListView::ColumnsObject, TListColumns::StaticClass())
          .Enumeration("ViewStyle", &TEnhListView::ViewStyle, &TEnhListView::SetViewStyle,
                       {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}, TViewStyle::vsIcon)
          .Boolean("Checkboxes", &TEnhListView::Checkboxes, &TEnhListView::SetCheckboxes, false)
          .Boolean("ShowColumnHeaders", &TEnhListView::ShowColumnHeaders,
                   &TEnhListView::SetShowColumnHeaders, true)
          // No defaults: a stored form holds these three always, its
          // initial values included.
          .Boolean("ShowToolTips", &TEnhListView::ShowToolTips, &TEnhListView::SetToolTips,
                   std::nullopt)
          .Set("ToolTipOptions", &TEnhListView::ToolTipOptions, &TEnhListView::SetToolTipOptions,
               {"ttoInstantShow", "ttoLongStay", "ttoBelowItem", "ttoOffSet",
                "ttoAdjustForScreenBoundary"},
               std::nullopt)
          .Integer("ToolTipWidth", &TEnhListView::ToolTipWidth, &TEnhListView::setToolTipWidth,
                   std::nullopt, -1, INT32_MAX)
          .EventOf("OnToolTip", &TEnhListView::OnToolTip)
          .EventOf("OnShowToolTip", &TEnhListView::OnShowToolTip)
          .Redeclare("TabStop", ui::Value(true))
          .Done());
  return info;
}

TEnhListView::TEnhListView() {
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
}

TEnhListView::~TEnhListView() {
  // The window goes while the whole list view can still hear of it.
  SetParent(nullptr);
}

std::unique_ptr<TReplacementListItem> TEnhListView::CreateListItem() {
  return std::make_unique<TReplacementListItem>(*this);
}

void TEnhListView::SetViewStyle(TViewStyle style) {
  if (style == viewStyle_) return;
  viewStyle_ = style;
  if (peer_ != nullptr) peer_->StyleChanged();
}

void TEnhListView::SetCheckboxes(bool on) {
  if (on == checkboxes_) return;
  checkboxes_ = on;
  if (peer_ != nullptr) peer_->StyleChanged();
}

void TEnhListView::SetShowColumnHeaders(bool on) {
  if (on == showColumnHeaders_) return;
  showColumnHeaders_ = on;
  if (peer_ != nullptr) peer_->StyleChanged();
}

void TEnhListView::RefreshCell(int row, int column) {
  if (peer_ == nullptr || row < 0) return;
  peer_->CellChanged(row, column);
  // Only a report shows columns to measure.
  if (viewStyle_ == TViewStyle::vsReport && column < columns_.Count() &&
      columns_.Width(column) == TListColumns::kFollowContent) {
    peer_->FitColumn(column);
  }
}

// ---- tooltips ----

bool TEnhListView::GetToolTips() const { return peer_ != nullptr ? peer_->InfoTips() : toolTips_; }

void TEnhListView::SetToolTips(bool on) {
  toolTips_ = on;
  if (peer_ != nullptr) peer_->SetInfoTips(on);
}

void TEnhListView::SetToolTipOptions(TTooltipOptions value) {
  toolTipOptions_ = ChooseToolTipOptions(value, toolTipOptions_);
  if (peer_ != nullptr) peer_->SetToolTipTimes(TimesFor(toolTipOptions_));
}

void TEnhListView::doOnToolTip(TReplacementListItem& item, int logicalCol, std::u16string& text,
                               std::u16string& title, TEnumToolTipIcon& icon,
                               TTooltipOptions& options) {
  OnToolTip(*this, item, logicalCol, text, title, icon, options);
}

void TEnhListView::doShowToolTip(ui::Component& sender, TReplacementListItem& item, int logicalCol,
                                 const ui::Rect& fieldBound, const ui::Rect& oldTooltipBound,
                                 int& left, int& top) {
  OnShowToolTip(sender, item, logicalCol, fieldBound, oldTooltipBound, left, top);
}

std::optional<ListCell> TEnhListView::CellUnderPointer() {
  const std::optional<ListCell> cell =
      peer_->HitTest(peer_->ScreenToClient(peer_->PointerOnScreen()));
  if (!cell || cell->row < 0 || cell->row >= items_.Count()) return std::nullopt;
  return cell;
}

bool TEnhListView::ToolTipTextRequested(const std::u16string& text) {
  SetToolTipOptions(toolTipOptions_);
  tipOptions_ = toolTipOptions_;
  if (peer_ == nullptr) return false;
  peer_->SetToolTipMaxWidth(toolTipWidth_);
  if (!OnToolTip) return false;
  const std::optional<ListCell> cell = CellUnderPointer();
  if (!cell) return false;
  tipText_ = text;
  std::u16string title;
  TEnumToolTipIcon icon = TEnumToolTipIcon::ttiNoIcon;
  doOnToolTip(items_.Item(cell->row), cell->column, tipText_, title, icon, tipOptions_);
  if (supportsTitle_) peer_->SetToolTipTitle(icon, title);
  return true;
}

bool TEnhListView::ToolTipShowing() {
  const TTooltipOptions kept = toolTipOptions_;
  // Only the set comes back; the delay times of this tip stay until the
  // next one asks for its text.
  struct Restore {
    TTooltipOptions& options;
    TTooltipOptions kept;
    ~Restore() { options = kept; }
  } restore{toolTipOptions_, kept};
  SetToolTipOptions(tipOptions_);
  if (peer_ == nullptr) return false;
  const ui::Rect tip = peer_->ToolTipBounds();
  const ui::Point pointer = peer_->PointerOnScreen();
  const std::optional<ListCell> cell = CellUnderPointer();
  if (!cell) return false;
  const ui::Rect label = peer_->LabelBounds(cell->row);
  ui::Point at = PlaceToolTip(tipOptions_, tip, pointer, label, peer_->ScreenSize());
  doShowToolTip(*this, items_.Item(cell->row), cell->column, label, tip, at.x, at.y);
  peer_->MoveToolTip(at);
  return true;
}

// ---- the window's side ----

void TEnhListView::AttachPeer(ListViewPeer& peer,
                              std::optional<std::pair<int, int>> commonControlsVersion) {
  peer_ = &peer;
  supportsTitle_ = controls::SupportsTooltipTitle(commonControlsVersion);
  peer_->SetInfoTips(toolTips_);
  // Delays asked for before the window existed hold from the first tip on.
  peer_->SetToolTipTimes(TimesFor(toolTipOptions_));
}

void TEnhListView::DetachPeer() { peer_ = nullptr; }

void TEnhListView::CheckedInWindow(int row, bool checked) {
  if (row >= 0 && row < items_.Count()) items_.Item(row).checked_ = checked;
}

}  // namespace controls
