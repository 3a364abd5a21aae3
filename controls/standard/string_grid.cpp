#include "controls/standard/string_grid.h"

#include <algorithm>
#include <stdexcept>

#include "ui/class_info.h"
#include "ui/publish.h"

namespace controls {
namespace {

const std::string kNoText;

std::size_t Index(int value) { return static_cast<std::size_t>(value); }

}  // namespace

const ui::ClassInfo& TStringGrid::StaticClass() {
  static const ui::ClassInfo info(
      "TStringGrid", &ui::WinControl::StaticClass(),
      ui::Publish<TStringGrid>()
          .Integer("ColCount", &TStringGrid::ColCount, &TStringGrid::SetColCount, 5, 1, 1000)
          .Integer("RowCount", &TStringGrid::RowCount, &TStringGrid::SetRowCount, 5, 1, 1000000)
          .Integer("DefaultRowHeight", &TStringGrid::DefaultRowHeight,
                   &TStringGrid::SetDefaultRowHeight, 24, 1, 1000)
          .Redeclare("TabStop", ui::Value(true))
          .Done());
  return info;
}

TStringGrid::TStringGrid() {
  SetBounds(0, 0, 320, 120);
  SetTabStop(true);
  SetColCount(5);
  SetRowCount(5);
}

void TStringGrid::SetColCount(int count) {
  if (count < 1) throw std::invalid_argument("a grid has at least one column");
  if (count == ColCount()) return;
  colWidths_.resize(Index(count), kDefaultColWidth);
  for (auto& row : cells_) row.resize(Index(count));
  Changed();
}

void TStringGrid::SetRowCount(int count) {
  if (count < 1) throw std::invalid_argument("a grid has at least one row");
  if (count == RowCount()) return;
  cells_.resize(Index(count), std::vector<std::string>(colWidths_.size()));
  row_ = std::min(row_, count - 1);
  Changed();
}

void TStringGrid::SetDefaultRowHeight(int height) {
  if (height == defaultRowHeight_) return;
  defaultRowHeight_ = height;
  Changed();
}

const std::string& TStringGrid::Cells(int col, int row) const {
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return kNoText;
  return cells_[Index(row)][Index(col)];
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) {
    throw std::out_of_range("no cell " + std::to_string(col) + "," + std::to_string(row));
  }
  std::string& cell = cells_[Index(row)][Index(col)];
  if (cell == text) return;
  cell = text;
  Changed();
}

int TStringGrid::ColWidths(int col) const {
  return col < 0 || col >= ColCount() ? 0 : colWidths_[Index(col)];
}

void TStringGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= ColCount()) throw std::out_of_range("no column " + std::to_string(col));
  width = std::max(width, 0);
  if (colWidths_[Index(col)] == width) return;
  colWidths_[Index(col)] = width;
  Changed();
}

void TStringGrid::SetRow(int row) {
  row = std::clamp(row, 0, RowCount() - 1);
  if (row == row_) return;
  row_ = row;
  Changed();
}

void TStringGrid::RowSelected(int row) {
  // The window shows it already; only the control learns of it.
  row_ = std::clamp(row, 0, RowCount() - 1);
}

ui::Rect TStringGrid::ClientRect() const {
  return {0, 0, std::max(0, Width() - 2 * kBorderWidth), std::max(0, Height() - 2 * kBorderWidth)};
}

}  // namespace controls
