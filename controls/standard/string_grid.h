#pragma once
// TStringGrid: rows of text cells in columns of their own widths, one row
// selected at a time. It has no fixed rows or columns: every row is data,
// and a selection takes the whole row. On screen it is a window of the
// platform's that shows the cells and reports the user's selection back.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/win_control.h"

namespace controls {

inline constexpr std::string_view kStringGridWindow = "StringGrid";

class TStringGrid : public ui::WinControl {
 public:
  // The sunken frame round the cells, in pixels on each side.
  static constexpr int kBorderWidth = 2;
  static constexpr int kDefaultColWidth = 64;

  TStringGrid();
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  // At least one column and one row; cells that go are dropped, new ones
  // are empty, new columns take the default width.
  int ColCount() const { return static_cast<int>(colWidths_.size()); }
  void SetColCount(int count);
  int RowCount() const { return static_cast<int>(cells_.size()); }
  void SetRowCount(int count);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int height);

  // Out of range reads give "" and 0; out of range writes throw
  // std::out_of_range.
  const std::string& Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);

  // The selected row, kept inside 0 to RowCount - 1.
  int Row() const { return row_; }
  void SetRow(int row);
  // The window's part: the user selected `row`.
  void RowSelected(int row);

  // The area inside the frame.
  ui::Rect ClientRect() const override;
  std::string_view NativeWindowKind() const override { return kStringGridWindow; }

 private:
  std::vector<std::vector<std::string>> cells_;  // [row][col]
  std::vector<int> colWidths_;
  int defaultRowHeight_ = 24;
  int row_ = 0;
};

}  // namespace controls
