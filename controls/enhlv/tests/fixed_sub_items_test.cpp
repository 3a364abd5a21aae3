// A row's cells keep the list view in step: which columns are asked for
// again after each change.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/enhlv/fixed_sub_items.h"

namespace controls {
namespace {

class RecordingRow : public ListRowLink {
 public:
  void RefreshColumn(int column) override { calls.push_back("column " + std::to_string(column)); }
  void RedrawRow() override { calls.push_back("row"); }
  void BeginUpdate() override { calls.push_back("begin"); }
  void EndUpdate() override { calls.push_back("end"); }
  std::vector<std::string> calls;
};

TEST(FixedSubItems, EveryChangeRefreshesTheColumnsItMoved) {
  RecordingRow row;
  TFixedSubItems cells(row);
  cells.BeginUpdate();
  cells.Add("HKLM\\...\\MrxNet");
  cells.Add("C:\\x.sys");
  cells.EndUpdate();
  EXPECT_EQ(row.calls, (std::vector<std::string>{"begin", "column 1", "column 2", "end"}));
  EXPECT_EQ(cells.ImageIndex(1), -1);

  row.calls.clear();
  cells.Insert(0, "first");
  EXPECT_EQ(row.calls, (std::vector<std::string>{"column 1", "column 2", "column 3"}));
  EXPECT_EQ(cells.Text(0), "first");
  EXPECT_EQ(cells.Text(2), "C:\\x.sys");

  row.calls.clear();
  cells.Replace(1, "second");
  cells.Delete(0);
  EXPECT_EQ(row.calls, (std::vector<std::string>{"column 2", "row"}));
  EXPECT_EQ(cells.Count(), 2);
  EXPECT_EQ(cells.Text(0), "second");

  row.calls.clear();
  EXPECT_THROW(cells.Insert(3, "x"), std::out_of_range);
  EXPECT_THROW(cells.Replace(2, "x"), std::out_of_range);
  EXPECT_THROW(cells.Delete(-1), std::out_of_range);
  EXPECT_TRUE(row.calls.empty()) << "a refused change tells nobody";
  cells.Clear();
  EXPECT_EQ(cells.Count(), 0);
}

}  // namespace
}  // namespace controls
