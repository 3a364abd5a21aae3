// The edit box, the string grid and the splitter without a window system:
// the cells and selection the grid keeps, and the splitter's drag.

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "controls/standard/edit.h"
#include "controls/standard/panel.h"
#include "controls/standard/splitter.h"
#include "controls/standard/string_grid.h"

namespace controls {
namespace {

TEST(StringGrid, ResizingKeepsTheCellsThatStayAndClampsTheSelection) {
  TStringGrid grid;
  grid.SetColCount(2);
  grid.SetRowCount(3);
  grid.SetCells(0, 2, "last");
  grid.SetCells(1, 0, "first value");
  grid.SetRow(2);
  grid.SetRowCount(2);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Cells(1, 0), "first value");
  grid.SetRowCount(3);
  EXPECT_EQ(grid.Cells(0, 2), "");  // dropped, not kept aside
  grid.SetColCount(3);
  EXPECT_EQ(grid.ColWidths(2), TStringGrid::kDefaultColWidth);
  EXPECT_EQ(grid.Cells(1, 0), "first value");

  grid.SetRow(-4);
  EXPECT_EQ(grid.Row(), 0);
  grid.SetRow(99);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Cells(5, 0), "");
  EXPECT_THROW(grid.SetCells(0, 3, "x"), std::out_of_range);
  EXPECT_THROW(grid.SetRowCount(0), std::invalid_argument);
}

TEST(StringGrid, TheClientAreaLiesInsideTheFrame) {
  TStringGrid grid;
  grid.SetBounds(8, 25, 413, 224);
  EXPECT_EQ(grid.ClientRect(), (ui::Rect{0, 0, 409, 220}));
}

TEST(Edit, TakingTheFocusAsksForTheWholeTextOnce) {
  TEdit edit;
  edit.SetText("Greeting");
  EXPECT_FALSE(edit.TakeSelectAll());
  edit.FocusGained();
  EXPECT_TRUE(edit.TakeSelectAll());
  EXPECT_FALSE(edit.TakeSelectAll());
}

// A header strip: a left part, the splitter and a right part filling the rest.
class SplitterTest : public ::testing::Test {
 protected:
  SplitterTest() {
    strip.SetBounds(0, 0, 413, 17);
    left.SetWidth(150);
    left.SetAlign(ui::TAlign::alLeft);
    left.SetParent(&strip);
    splitter.SetWidth(6);
    splitter.SetMinSize(60);
    splitter.SetParent(&strip);
    right.SetAlign(ui::TAlign::alClient);
    right.SetParent(&strip);
    splitter.OnMoved.handler = [this](ui::Component&) { ++moves; };
  }
  // A drag by `dx` in steps, as the mouse reports it: each position in the
  // splitter's coordinates of the moment.
  void Drag(int dx) {
    const int startX = splitter.Left() + 3;
    splitter.MouseDown(ui::TMouseButton::mbLeft, {}, {3, 5});
    const int steps = 4;
    for (int i = 1; i <= steps; ++i) {
      const int x = startX + dx * i / steps;
      splitter.MouseMove({}, {x - splitter.Left(), 5});
    }
    splitter.MouseUp(ui::TMouseButton::mbLeft, {}, {startX + dx - splitter.Left(), 5});
  }

  TPanel strip, left, right;
  TSplitter splitter;
  int moves = 0;
};

TEST_F(SplitterTest, ADragResizesTheLeftPartAndTheRestFollows) {
  ASSERT_EQ(splitter.ResizedControl(), &left);
  Drag(40);
  EXPECT_EQ(left.Width(), 190);
  EXPECT_EQ(splitter.Left(), 190);
  EXPECT_EQ(right.Left(), 196);
  EXPECT_EQ(right.Width(), 413 - 196);
  EXPECT_EQ(moves, 1);
}

TEST_F(SplitterTest, NeitherSideBecomesNarrowerThanMinSize) {
  const struct {
    int dx;
    int width;
  } kCases[] = {{-200, 60}, {+400, 413 - 6 - 60}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.dx);
    left.SetWidth(150);
    Drag(c.dx);
    EXPECT_EQ(left.Width(), c.width);
  }
}

TEST_F(SplitterTest, APressWithoutMovingIsNoMove) {
  splitter.MouseDown(ui::TMouseButton::mbLeft, {}, {3, 5});
  splitter.MouseUp(ui::TMouseButton::mbLeft, {}, {3, 5});
  Drag(0);
  EXPECT_EQ(left.Width(), 150);
  EXPECT_EQ(moves, 0);
}

}  // namespace
}  // namespace controls
