// The list view's tooltip rules as tables: the options a new set keeps,
// the delay times, the placement and the title check.

#include <gtest/gtest.h>

#include "controls/enhlv/enhlv_tooltips.h"

namespace controls {
namespace {

using O = TEnumToolTipOptions;
constexpr TTooltipOptions kOffSet = Option(O::ttoOffSet);
constexpr TTooltipOptions kBelow = Option(O::ttoBelowItem);
constexpr TTooltipOptions kAdjust = Option(O::ttoAdjustForScreenBoundary);
constexpr TTooltipOptions kInstant = Option(O::ttoInstantShow);
constexpr TTooltipOptions kLong = Option(O::ttoLongStay);

TEST(ToolTipOptions, TheNewlyAskedPlacementWins) {
  const struct {
    const char* name;
    TTooltipOptions requested, current, chosen;
  } kCases[] = {
      {"both from neither: OffSet wins", kOffSet | kBelow, kAdjust, kOffSet},
      {"BelowItem added to OffSet", kOffSet | kBelow, kOffSet, kBelow},
      {"OffSet added to BelowItem", kOffSet | kBelow, kBelow, kOffSet},
      {"both kept from both", kOffSet | kBelow, kOffSet | kBelow, kOffSet | kBelow},
      {"others pass through", kInstant | kLong | kAdjust, 0, kInstant | kLong | kAdjust},
      {"one placement alone", kBelow | kAdjust, kOffSet, kBelow | kAdjust},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ChooseToolTipOptions(c.requested, c.current), c.chosen);
  }
  EXPECT_EQ(TimesFor(0), (ToolTipTimes{500, 3000}));
  EXPECT_EQ(TimesFor(kInstant), (ToolTipTimes{1, 3000}));
  EXPECT_EQ(TimesFor(kLong | kBelow), (ToolTipTimes{500, 32000}));
}

TEST(ToolTipOptions, PlacementBesideThePointerBelowTheItemAndOnTheScreen) {
  const ui::Size screen{1280, 1024};
  const ui::Rect label{100, 200, 300, 217};  // 17 pixels high
  const struct {
    const char* name;
    TTooltipOptions options;
    ui::Rect tip;
    ui::Point pointer;
    ui::Point at;
  } kCases[] = {
      {"where the platform put it", 0, {500, 400, 600, 420}, {10, 10}, {500, 400}},
      {"below the item", kBelow, {500, 400, 600, 420}, {10, 10}, {500, 417}},
      {"beside the pointer", kOffSet, {500, 400, 600, 420}, {700, 300}, {720, 308}},
      {"beside wins over below", kOffSet | kBelow, {500, 400, 600, 420}, {700, 300}, {720, 308}},
      {"ends at the right edge", kAdjust, {1250, 400, 1350, 420}, {0, 0}, {1180, 400}},
      {"ends at the bottom edge", kAdjust, {10, 1010, 110, 1030}, {0, 0}, {10, 1004}},
      {"negative starts at 0", kAdjust, {-30, -5, 70, 15}, {0, 0}, {0, 0}},
      {"off the edge without adjusting", 0, {1250, 400, 1350, 420}, {0, 0}, {1250, 400}},
      {"pointer near the corner", kOffSet | kAdjust, {0, 0, 100, 20}, {1275, 1020}, {1180, 1004}},
      // Wider than the screen: the edge rule comes last and wins over 0.
      {"wider than the screen", kAdjust, {-10, 0, 1290, 20}, {0, 0}, {-20, 0}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PlaceToolTip(c.options, c.tip, c.pointer, label, screen), c.at);
  }
}

TEST(ToolTipOptions, TitlesFromCommonControls580) {
  EXPECT_FALSE(SupportsTooltipTitle(std::nullopt));
  EXPECT_FALSE(SupportsTooltipTitle(std::pair{5, 79}));
  EXPECT_TRUE(SupportsTooltipTitle(std::pair{5, 80}));
  EXPECT_TRUE(SupportsTooltipTitle(std::pair{6, 0}));
  EXPECT_FALSE(SupportsTooltipTitle(std::pair{4, 99}));
}

}  // namespace
}  // namespace controls
