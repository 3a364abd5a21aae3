// The list view's model against a recording window: what each change of
// rows, cells, columns and styles tells the window, which columns are
// re-measured, the info-tip flag, the stored form, and the two steps of a
// tip (its text, then its showing) with the events and the placement.

#include "controls/enhlv/enhlv.h"

#include <gtest/gtest.h>

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/form_error.h"
#include "ui/form_reader.h"
#include "ui/tests/fake_window_system.h"

namespace controls {
namespace {

using Calls = std::vector<std::string>;
using O = TEnumToolTipOptions;
constexpr TTooltipOptions kAdjust = Option(O::ttoAdjustForScreenBoundary);
constexpr TTooltipOptions kOffSet = Option(O::ttoOffSet);
constexpr TTooltipOptions kBelow = Option(O::ttoBelowItem);
constexpr TTooltipOptions kLong = Option(O::ttoLongStay);
constexpr TTooltipOptions kInstant = Option(O::ttoInstantShow);

std::string Text(ui::Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

// Records what the model pushes and answers from fields a test sets.
class RecordingPeer : public ListViewPeer {
 public:
  void StyleChanged() override { calls.push_back("style"); }
  void ColumnsChanged() override { calls.push_back("columns"); }
  void RowInserted(int row) override { calls.push_back("insert " + std::to_string(row)); }
  void RowDeleted(int row) override { calls.push_back("delete " + std::to_string(row)); }
  void RowsCleared() override { calls.push_back("clear"); }
  void RowChanged(int row) override { calls.push_back("row " + std::to_string(row)); }
  void CellChanged(int row, int column) override {
    calls.push_back("cell " + std::to_string(row) + " " + std::to_string(column));
  }
  void RedrawRow(int row) override { calls.push_back("redraw " + std::to_string(row)); }
  void FitColumn(int column) override { calls.push_back("fit " + std::to_string(column)); }
  void BeginUpdate() override { calls.push_back("begin"); }
  void EndUpdate() override { calls.push_back("end"); }
  bool InfoTips() const override { return infoTips; }
  void SetInfoTips(bool on) override {
    infoTips = on;
    calls.push_back(on ? "infotips on" : "infotips off");
  }
  void SetToolTipTimes(const ToolTipTimes& times) override {
    calls.push_back("times " + std::to_string(times.initialDelay) + " " +
                    std::to_string(times.stayVisible));
  }
  void SetToolTipMaxWidth(int width) override {
    calls.push_back("max width " + std::to_string(width));
  }
  void SetToolTipTitle(TEnumToolTipIcon icon, const std::u16string& title) override {
    calls.push_back("title " + std::to_string(static_cast<int>(icon)) + " " +
                    std::string(title.begin(), title.end()));
  }
  ui::Rect ToolTipBounds() override { return tip; }
  void MoveToolTip(ui::Point at) override { calls.push_back("move " + Text(at)); }
  ui::Point PointerOnScreen() override { return pointer; }
  ui::Point ScreenToClient(ui::Point screen) override {
    return {screen.x - clientOrigin.x, screen.y - clientOrigin.y};
  }
  std::optional<ListCell> HitTest(ui::Point client) override {
    hitAt.push_back(client);
    return hit;
  }
  ui::Rect LabelBounds(int row) override {
    calls.push_back("label " + std::to_string(row));
    return label;
  }
  ui::Size ScreenSize() override { return screen; }

  Calls calls;
  bool infoTips = false;
  ui::Rect tip{500, 400, 600, 420};
  ui::Point pointer{700, 300};
  ui::Point clientOrigin{100, 50};
  std::optional<ListCell> hit;
  std::vector<ui::Point> hitAt;
  ui::Rect label{4, 20, 120, 37};  // 17 pixels high
  ui::Size screen{1280, 1024};
};

class EnhListViewTest : public ::testing::Test {
 protected:
  // A report with the results dialog's two columns and two rows of one
  // cell each, then attached to the window.
  void Fill(TViewStyle style, int secondWidth) {
    list_.SetViewStyle(style);
    list_.Columns().Add("Type", 120);
    list_.Columns().Add("Value", secondWidth);
    for (const char* value : {"HKLM\\SYSTEM\\MrxNet", "C:\\WINDOWS\\inf\\oem7A.PNF"}) {
      TReplacementListItem& row = list_.Items().Add();
      row.SetCaption("kind");
      row.SubItems().Add(value);
    }
    Attach();
  }
  void Attach(std::optional<std::pair<int, int>> version = std::pair{5, 81}) {
    list_.AttachPeer(peer_, version);
    peer_.calls.clear();
  }

  RecordingPeer peer_;
  TEnhListView list_;
};

// ---- rows, cells and columns ----

TEST_F(EnhListViewTest, EveryChangeOfARowTellsTheWindowWhichRow) {
  Fill(TViewStyle::vsReport, 470);
  TReplacementListItem& first = list_.Items()[0];
  TReplacementListItem& added = list_.Items().Insert(0);
  added.SetCaption("File");
  added.SetChecked(true);
  added.SetData(1);
  added.SetData(1);  // unchanged: nothing to tell
  first.SetChecked(true);
  first.SubItems().Replace(0, "HKLM\\SYSTEM\\MrxCls");
  EXPECT_TRUE(added.Checked());
  EXPECT_EQ(added.Data(), 1);
  EXPECT_EQ(first.Index(), 1);
  list_.Items().Delete(2);
  list_.Items().Clear();
  EXPECT_EQ(peer_.calls, (Calls{"insert 0", "row 0", "row 0", "row 0", "row 1", "cell 1 1",
                                "delete 2", "clear"}));
  EXPECT_EQ(list_.Items().Count(), 0);
  EXPECT_THROW(list_.Items().Delete(0), std::out_of_range);
  EXPECT_THROW(list_.Items().Insert(1), std::out_of_range);
}

TEST_F(EnhListViewTest, ACellRemeasuresItsColumnOnlyInAReportWhereItFollowsTheContent) {
  const struct {
    const char* name;
    TViewStyle style;
    int secondWidth;
    Calls calls;
  } kCases[] = {
      {"report, following", TViewStyle::vsReport, -1, {"cell 1 1", "fit 1", "cell 1 2"}},
      {"report, fixed", TViewStyle::vsReport, 470, {"cell 1 1", "cell 1 2"}},
      {"list, following", TViewStyle::vsList, -1, {"cell 1 1", "cell 1 2"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    TEnhListView list;
    RecordingPeer peer;
    list.SetViewStyle(c.style);
    list.Columns().Add("Type", 120);
    list.Columns().Add("Value", c.secondWidth);
    list.Items().Add();
    TReplacementListItem& row = list.Items().Add();
    list.AttachPeer(peer, std::nullopt);
    peer.calls.clear();
    row.SubItems().Add("C:\\x.sys");
    row.SubItems().Add("a third column there is none of");
    EXPECT_EQ(peer.calls, c.calls);
  }
}

TEST_F(EnhListViewTest, ABatchOfCellChangesIsOneBatchOfTheWholeList) {
  Fill(TViewStyle::vsReport, 470);
  TReplacementListItem& row = list_.Items()[1];
  row.SubItems().BeginUpdate();
  list_.Items().BeginUpdate();
  row.SubItems().Insert(0, "before");
  row.SubItems().Delete(1);
  list_.Items().EndUpdate();
  row.SubItems().EndUpdate();
  list_.Items().EndUpdate();  // one too many: nothing
  EXPECT_EQ(peer_.calls, (Calls{"begin", "cell 1 1", "cell 1 2", "redraw 1", "end"}));
}

TEST_F(EnhListViewTest, ColumnsTellTheWindowOnceAndKeepTheirWidths) {
  Fill(TViewStyle::vsReport, -1);
  EXPECT_EQ(list_.Columns().Width(1), TListColumns::kFollowContent);
  list_.Columns().Add("Third");
  list_.Columns().SetWidth(0, 90);
  list_.Columns().SetCaption(2, "Size");
  EXPECT_EQ(peer_.calls, (Calls{"columns", "columns", "columns"}));
  EXPECT_EQ(list_.Columns().Width(2), TListColumns::kDefaultWidth);
  EXPECT_EQ(list_.Columns().Width(0), 90);
  EXPECT_EQ(list_.Columns().Caption(2), "Size");
  EXPECT_THROW(list_.Columns().SetWidth(0, -2), std::invalid_argument);
  EXPECT_THROW(list_.Columns().SetWidth(3, 10), std::out_of_range);
  EXPECT_EQ(list_.Columns().Width(0), 90);

  peer_.calls.clear();
  list_.SetCheckboxes(true);
  list_.SetShowColumnHeaders(false);
  list_.SetViewStyle(TViewStyle::vsReport);  // unchanged
  list_.Columns().Clear();
  EXPECT_EQ(peer_.calls, (Calls{"style", "style", "columns"}));
  EXPECT_EQ(list_.Columns().Count(), 0);
}

TEST_F(EnhListViewTest, TheWindowsCheckBoxesComeBackToTheRows) {
  Fill(TViewStyle::vsReport, 470);
  list_.CheckedInWindow(1, true);
  list_.CheckedInWindow(7, true);  // a row the list does not have
  EXPECT_FALSE(list_.Items()[0].Checked());
  EXPECT_TRUE(list_.Items()[1].Checked());
  EXPECT_TRUE(peer_.calls.empty()) << "the window knows already";
}

// ---- the info-tip flag ----

TEST_F(EnhListViewTest, ShowToolTipsIsTheWindowsFlagOnceThereIsAWindow) {
  EXPECT_FALSE(list_.ShowToolTips());
  list_.SetToolTips(true);
  EXPECT_TRUE(list_.ShowToolTips()) << "kept until there is a window";
  list_.AttachPeer(peer_, std::nullopt);
  EXPECT_EQ(peer_.calls, (Calls{"infotips on", "times 500 3000"}));
  peer_.infoTips = false;  // changed on the window itself
  EXPECT_FALSE(list_.ShowToolTips());
  list_.SetToolTips(false);
  list_.SetToolTips(true);
  EXPECT_TRUE(peer_.infoTips);
  list_.DetachPeer();
  EXPECT_TRUE(list_.ShowToolTips());
}

// ---- the stored form ----

TEST_F(EnhListViewTest, TheResultsDialogsStoredListView) {
  ui::ClassRegistry classes;
  classes.Register<TEnhListView>();
  ui::testing::FakeWindowSystem windows;
  auto read = [&](ui::Form& form, const std::string& widths) {
    ui::ReadForm(
        form, "Found",
        R"(object frmFound: TForm
  object lvList: TEnhListView
    Left = 20
    Top = 14
    Width = 597
    Height = 269
    ViewStyle = vsReport
    Checkboxes = true
    ShowColumnHeaders = false
    Columns.Captions = ["Type", "Value"]
    Columns.Widths = )" +
            widths + R"(
    ShowToolTips = false
    ToolTipOptions = [ttoAdjustForScreenBoundary]
    ToolTipWidth = -1
  end
end)",
        ui::FormEnvironment{classes, nullptr, [](const std::string&) { return std::any(); }});
  };
  ui::Form form(windows);
  read(form, R"(["120", "470"])");
  auto& list = dynamic_cast<TEnhListView&>(form.Components(0));
  EXPECT_EQ(list.ViewStyle(), TViewStyle::vsReport);
  EXPECT_TRUE(list.Checkboxes());
  EXPECT_FALSE(list.ShowColumnHeaders());
  ASSERT_EQ(list.Columns().Count(), 2);
  EXPECT_EQ(list.Columns().Caption(1), "Value");
  EXPECT_EQ(list.Columns().Width(0), 120);
  EXPECT_EQ(list.Columns().Width(1), 470);
  EXPECT_FALSE(list.ShowToolTips());
  EXPECT_EQ(list.ToolTipOptions(), kAdjust);
  EXPECT_EQ(list.ToolTipWidth(), -1);
  EXPECT_TRUE(list.TabStop());

  ui::Form wrong(windows);
  EXPECT_THROW(read(wrong, R"(["120", "wide"])"), ui::FormError);
}

// ---- tooltips ----

TEST_F(EnhListViewTest, OptionsKeepOnePlacementAndSetTheDelays) {
  Attach();
  EXPECT_EQ(list_.ToolTipOptions(), kAdjust) << "initially";
  list_.SetToolTipOptions(kOffSet | kBelow);
  EXPECT_EQ(list_.ToolTipOptions(), kOffSet);
  list_.SetToolTipOptions(kOffSet | kBelow | kInstant);
  EXPECT_EQ(list_.ToolTipOptions(), kBelow | kInstant);
  list_.SetToolTipOptions(kLong);
  EXPECT_EQ(peer_.calls, (Calls{"times 500 3000", "times 1 3000", "times 500 32000"}));
}

TEST_F(EnhListViewTest, ATipAsksForItsTextAndTheHandlerChangesItForTheRowUnderThePointer) {
  Fill(TViewStyle::vsReport, 470);
  list_.setToolTipWidth(300);
  struct Heard {
    TReplacementListItem* item;
    int column;
    std::u16string text, title;
    TEnumToolTipIcon icon;
    TTooltipOptions options;
  };
  std::vector<Heard> heard;
  list_.OnToolTip.handler = [&](ui::Component& sender, TReplacementListItem& item, int column,
                                std::u16string& text, std::u16string& title, TEnumToolTipIcon& icon,
                                TTooltipOptions& options) {
    EXPECT_EQ(&sender, &list_);
    heard.push_back({&item, column, text, title, icon, options});
    text = u"full path";
    title = u"File";
    icon = TEnumToolTipIcon::ttiWarning;
    options |= kLong;
  };
  peer_.hit = ListCell{1, 1};
  EXPECT_TRUE(list_.ToolTipTextRequested(u"C:\\WIND..."));
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].item, &list_.Items()[1]);
  EXPECT_EQ(heard[0].column, 1);
  EXPECT_EQ(heard[0].text, u"C:\\WIND...");
  EXPECT_EQ(heard[0].title, u"");
  EXPECT_EQ(heard[0].icon, TEnumToolTipIcon::ttiNoIcon);
  EXPECT_EQ(heard[0].options, kAdjust);
  EXPECT_EQ(list_.ToolTipText(), u"full path");
  EXPECT_EQ(list_.TipOptions(), kAdjust | kLong);
  EXPECT_EQ(list_.ToolTipOptions(), kAdjust) << "the list's own options stay";
  EXPECT_EQ(peer_.hitAt, (std::vector<ui::Point>{{600, 250}})) << "in client coordinates";
  EXPECT_EQ(peer_.calls, (Calls{"times 500 3000", "max width 300", "title 2 File"}));

  // Over empty space, or without a handler: the platform's text stands.
  peer_.calls.clear();
  peer_.hit = std::nullopt;
  EXPECT_FALSE(list_.ToolTipTextRequested(u"x"));
  list_.OnToolTip.handler = nullptr;
  peer_.hit = ListCell{0, 0};
  EXPECT_FALSE(list_.ToolTipTextRequested(u"x"));
  EXPECT_EQ(heard.size(), 1u);
  EXPECT_EQ(peer_.calls,
            (Calls{"times 500 3000", "max width 300", "times 500 3000", "max width 300"}));
}

TEST_F(EnhListViewTest, WithoutTitleSupportTheTipGetsNoTitle) {
  for (const auto& version : {std::optional<std::pair<int, int>>{},
                              std::optional<std::pair<int, int>>{std::pair{5, 79}}}) {
    TEnhListView list;
    RecordingPeer peer;
    list.Items().Add();
    list.AttachPeer(peer, version);
    EXPECT_FALSE(list.SupportsTooltipTitle());
    peer.calls.clear();
    list.OnToolTip.handler = [](ui::Component&, TReplacementListItem&, int, std::u16string&,
                                std::u16string& title, TEnumToolTipIcon&,
                                TTooltipOptions&) { title = u"File"; };
    peer.hit = ListCell{0, 0};
    EXPECT_TRUE(list.ToolTipTextRequested(u"x"));
    EXPECT_EQ(peer.calls, (Calls{"times 500 3000", "max width -1"}));
  }
}

TEST_F(EnhListViewTest, ShowingPlacesTheTipByTheOptionsOfThisTip) {
  Fill(TViewStyle::vsReport, 470);
  const struct {
    const char* name;
    TTooltipOptions listOptions;
    TTooltipOptions addedByHandler;
    ui::Rect tip;
    Calls calls;
  } kCases[] = {
      {"where the platform put it",
       kAdjust,
       0,
       {500, 400, 600, 420},
       {"times 500 3000", "label 1", "move 500,400"}},
      {"below the item",
       kBelow,
       0,
       {500, 400, 600, 420},
       {"times 500 3000", "label 1", "move 500,417"}},
      {"both from the handler: beside the pointer",
       kAdjust,
       kOffSet | kBelow,
       {500, 400, 600, 420},
       {"times 500 3000", "label 1", "move 720,308"}},
      {"ends at the right edge",
       kAdjust,
       0,
       {1250, 400, 1350, 420},
       {"times 500 3000", "label 1", "move 1180,400"}},
      {"a negative position starts at 0",
       kAdjust,
       0,
       {-30, -5, 70, 15},
       {"times 500 3000", "label 1", "move 0,0"}},
      {"long stay for this tip only",
       kAdjust,
       kLong,
       {500, 400, 600, 420},
       {"times 500 32000", "label 1", "move 500,400"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    list_.SetToolTipOptions(c.listOptions);
    const TTooltipOptions listOptions = list_.ToolTipOptions();
    list_.OnToolTip.handler = [&](ui::Component&, TReplacementListItem&, int, std::u16string&,
                                  std::u16string&, TEnumToolTipIcon&,
                                  TTooltipOptions& options) { options |= c.addedByHandler; };
    peer_.hit = ListCell{1, 0};
    peer_.tip = c.tip;
    list_.ToolTipTextRequested(u"x");
    peer_.calls.clear();
    EXPECT_TRUE(list_.ToolTipShowing());
    EXPECT_EQ(peer_.calls, c.calls);
    EXPECT_EQ(list_.ToolTipOptions(), listOptions) << "the list's options come back";
  }

  // The next tip without the handler's long stay stays 3000 ms again.
  list_.OnToolTip.handler = nullptr;
  peer_.calls.clear();
  list_.ToolTipTextRequested(u"x");
  EXPECT_EQ(peer_.calls.front(), "times 500 3000");
}

TEST_F(EnhListViewTest, TheShowHandlerSeesTheLabelAndTheTipAndHasTheLastWord) {
  Fill(TViewStyle::vsReport, 470);
  list_.SetToolTipOptions(kBelow);
  list_.OnShowToolTip.handler = [&](ui::Component& sender, TReplacementListItem& item, int column,
                                    const ui::Rect& field, const ui::Rect& tip, int& left,
                                    int& top) {
    EXPECT_EQ(&sender, &list_);
    EXPECT_EQ(&item, &list_.Items()[0]);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(field, peer_.label);
    EXPECT_EQ(tip, peer_.tip);
    EXPECT_EQ(Text({left, top}), "500,417") << "what the options made of it";
    left += 3;
  };
  peer_.hit = ListCell{0, 1};
  list_.ToolTipTextRequested(u"x");
  peer_.calls.clear();
  EXPECT_TRUE(list_.ToolTipShowing());
  EXPECT_EQ(peer_.calls.back(), "move 503,417");

  // Over empty space: neither the event nor a move, and the options back.
  peer_.hit = std::nullopt;
  peer_.calls.clear();
  list_.OnShowToolTip.handler = [](ui::Component&, TReplacementListItem&, int, const ui::Rect&,
                                   const ui::Rect&, int&, int&) { FAIL() << "no row"; };
  EXPECT_FALSE(list_.ToolTipShowing());
  EXPECT_EQ(peer_.calls, (Calls{"times 500 3000"}));
  EXPECT_EQ(list_.ToolTipOptions(), kBelow);
}

}  // namespace
}  // namespace controls
