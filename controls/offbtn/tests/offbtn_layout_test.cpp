#include "controls/offbtn/offbtn_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "controls/offbtn/tests/fake_canvas.h"

namespace controls {

void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

using testing::FakeCanvas;
using Kind = TOffBtnType;
using Pos = TGlyphPosition;
using St = TOffBtnState;

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

// --- Placement -------------------------------------------------------------

struct PlaceCase {
  const char* name;
  Kind kind;
  Pos position;
  bool showGlyph;
  bool rightToLeft;
  St state;
  std::int32_t width, height;  // the button
  std::int32_t gw, gh;         // the glyph
  std::int32_t tw, th;         // the caption rectangle
  Rect caption;
  Rect glyph;
};

void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class PlacementTest : public ::testing::TestWithParam<PlaceCase> {};

// The one-line caption height is 13 px (the fake canvas), which is what the
// small-glyph kinds centre their glyph on.
TEST_P(PlacementTest, Rectangles) {
  const PlaceCase& c = GetParam();
  OffBtnLayoutInput button;
  button.Width = c.width;
  button.Height = c.height;
  button.ControlType = c.kind;
  button.Position = c.position;
  button.ShowGlyph = c.showGlyph;
  button.RightToLeft = c.rightToLeft;
  button.State = c.state;
  button.Caption = "Caption";
  button.GlyphWidth = c.gw;
  button.GlyphHeight = c.gh;
  FakeCanvas canvas;

  const LayoutRects placed = Layout(button, Rect{0, 0, c.tw, c.th}, canvas.Measure());
  EXPECT_EQ(placed.Caption, c.caption);
  EXPECT_EQ(placed.Glyph, c.glyph);
}

// Push buttons: 174 x 71, glyph 32 x 32, caption 80 x 13.
//   glyph beside: glyph top  half(71 - 32 - 1) + 1 = 20, caption top half(71 - 13 - 1) + 1 = 29,
//                 caption left half(174 - 32 - 80 - 1) + 32 + 1 = 63;
//                 at the right: glyph left 174 - 6 - 32 - 1 = 135, caption left 174 - 63 - 80 - 1 = 30.
//   glyph above:  glyph left half(174 - 32 - 1) + 1 = 71, caption left half(174 - 80 - 1) + 1 = 47,
//                 caption top half(71 - 32 - 13 - 1) + 32 + 1 = 45;
//                 below: glyph top 71 - 6 - 32 - 1 = 32, caption top 71 - 45 - 13 - 1 = 12.
// Small kinds: 120 x 40, caption 60 wide; glyph top 2 when 13 - gh < 2, else half(13 - gh) + 2;
//   right to left: glyph left 120 - gw - 2, caption left 120 - 60 - gw - 7.
INSTANTIATE_TEST_SUITE_P(
    PushButton, PlacementTest,
    ::testing::Values(
        PlaceCase{"GlyphLeft", Kind::bsButton, Pos::bsLeft, true, false, St::bsInactive,
                  174, 71, 32, 32, 80, 13, {63, 29, 143, 42}, {6, 20, 38, 52}},
        PlaceCase{"GlyphRight", Kind::bsButton, Pos::bsRight, true, false, St::bsInactive,
                  174, 71, 32, 32, 80, 13, {30, 29, 110, 42}, {135, 20, 167, 52}},
        PlaceCase{"GlyphLeftRightToLeft", Kind::bsButton, Pos::bsLeft, true, true, St::bsInactive,
                  174, 71, 32, 32, 80, 13, {30, 29, 110, 42}, {135, 20, 167, 52}},
        PlaceCase{"GlyphRightRightToLeft", Kind::bsButton, Pos::bsRight, true, true, St::bsActive,
                  174, 71, 32, 32, 80, 13, {63, 29, 143, 42}, {6, 20, 38, 52}},
        PlaceCase{"GlyphTop", Kind::bsButton, Pos::bsTop, true, false, St::bsInactive,
                  174, 71, 32, 32, 80, 13, {47, 45, 127, 58}, {71, 6, 103, 38}},
        PlaceCase{"GlyphTopRightToLeft", Kind::bsButton, Pos::bsTop, true, true, St::bsInactive,
                  174, 71, 32, 32, 80, 13, {47, 45, 127, 58}, {71, 6, 103, 38}},
        PlaceCase{"GlyphBottom", Kind::bsButton, Pos::bsBottom, true, false, St::bsInactive,
                  174, 71, 32, 32, 80, 13, {47, 12, 127, 25}, {71, 32, 103, 64}},
        // Both centred on their own: the caption lies over the glyph.
        PlaceCase{"GlyphCenter", Kind::bsButton, Pos::bsCenter, true, false, St::bsInactive,
                  174, 71, 32, 32, 80, 13, {47, 29, 127, 42}, {71, 20, 103, 52}},
        PlaceCase{"NoGlyphCentred", Kind::bsButton, Pos::bsLeft, false, false, St::bsInactive,
                  174, 71, 32, 32, 80, 13, {47, 29, 127, 42}, {0, 0, 32, 32}},
        // half(50 - 80 - 1) = half(-31) = -15 (toward zero), + 1 = -14.
        PlaceCase{"CaptionWiderThanButton", Kind::bsButton, Pos::bsLeft, false, false,
                  St::bsInactive, 50, 20, 32, 32, 80, 13, {-14, 4, 66, 17}, {0, 0, 32, 32}},
        PlaceCase{"PressedMovesCaptionAndGlyph", Kind::bsButton, Pos::bsLeft, true, false,
                  St::bsDown, 174, 71, 32, 32, 80, 13, {64, 30, 144, 43}, {7, 21, 39, 53}},
        PlaceCase{"PressedWithoutGlyphMovesCaptionOnly", Kind::bsButton, Pos::bsLeft, false,
                  false, St::bsDown, 174, 71, 32, 32, 80, 13, {48, 30, 128, 43}, {0, 0, 32, 32}},
        PlaceCase{"DownAndOutNotMoved", Kind::bsButton, Pos::bsLeft, true, false,
                  St::bsDownAndOut, 174, 71, 32, 32, 80, 13, {63, 29, 143, 42}, {6, 20, 38, 52}}),
    CaseName<PlaceCase>);

INSTANTIATE_TEST_SUITE_P(
    SmallKinds, PlacementTest,
    ::testing::Values(
        // 13 - 15 = -2 < 2: glyph top 2; caption left 15 + 7 = 22.
        PlaceCase{"HintGlyph", Kind::bsHintButton, Pos::bsTop, true, false, St::bsInactive,
                  120, 40, 15, 15, 60, 13, {22, 2, 82, 15}, {2, 2, 17, 17}},
        PlaceCase{"HintGlyphRightToLeft", Kind::bsHintButton, Pos::bsTop, true, true,
                  St::bsInactive, 120, 40, 15, 15, 60, 13, {38, 2, 98, 15}, {103, 2, 118, 17}},
        // 13 - 8 = 5: glyph top half(5) + 2 = 4.
        PlaceCase{"HintSmallGlyph", Kind::bsHintButton, Pos::bsTop, true, false, St::bsInactive,
                  120, 40, 8, 8, 60, 13, {15, 2, 75, 15}, {2, 4, 10, 12}},
        // Two caption lines (26 high): the glyph still follows the first,
        // 13 - 9 = 4, top half(4) + 2 = 4.
        PlaceCase{"UpGlyphTwoLines", Kind::bsUpButton, Pos::bsTop, true, false, St::bsInactive,
                  120, 40, 17, 9, 60, 26, {24, 2, 84, 28}, {2, 4, 19, 13}},
        // glyph top 40 - 4 - 9 - 1 = 26, caption top 40 - 2 - 26 - 1 = 11.
        PlaceCase{"UpGlyphBottom", Kind::bsUpButton, Pos::bsBottom, true, false, St::bsInactive,
                  120, 40, 17, 9, 60, 26, {24, 11, 84, 37}, {2, 26, 19, 35}},
        PlaceCase{"RadioNoGlyph", Kind::bsRadioButton, Pos::bsTop, false, false, St::bsInactive,
                  120, 40, 16, 16, 60, 13, {2, 2, 62, 15}, {0, 0, 16, 16}},
        PlaceCase{"RadioNoGlyphRightToLeft", Kind::bsRadioButton, Pos::bsTop, false, true,
                  St::bsInactive, 120, 40, 16, 16, 60, 13, {58, 2, 118, 15}, {0, 0, 16, 16}},
        PlaceCase{"RadioPressedNotMoved", Kind::bsRadioButton, Pos::bsTop, true, false,
                  St::bsDown, 120, 40, 16, 16, 60, 13, {23, 2, 83, 15}, {2, 2, 18, 18}}),
    CaseName<PlaceCase>);

TEST(Layout, FocusMarkSeesThePlacesBeforeThePressedOffset) {
  OffBtnLayoutInput button;
  button.Width = 174;
  button.Height = 71;
  button.Position = Pos::bsLeft;
  button.ShowGlyph = true;
  button.State = St::bsDown;
  button.Caption = "Check now!";
  button.GlyphWidth = 32;
  button.GlyphHeight = 32;
  FakeCanvas canvas;

  std::vector<LayoutRects> marked;
  const LayoutRects result = Layout(button, Rect{0, 0, 80, 13}, canvas.Measure(),
                                    [&](const LayoutRects& placed) { marked.push_back(placed); });
  ASSERT_EQ(marked.size(), 1u);
  EXPECT_EQ(marked[0].Caption, (Rect{63, 29, 143, 42}));
  EXPECT_EQ(marked[0].Glyph, (Rect{6, 20, 38, 52}));
  EXPECT_EQ(result.Caption, (Rect{64, 30, 144, 43}));
  EXPECT_EQ(result.Glyph, (Rect{7, 21, 39, 53}));
}

// --- Caption measuring -----------------------------------------------------

struct MeasureCase {
  const char* name;
  Kind kind;
  Pos position;
  bool showGlyph;
  std::int32_t width;  // the button
  std::int32_t gw;     // the glyph
  int captionLength;   // characters "x", 4 px each
  std::int32_t wrapWidth;
  std::vector<std::size_t> lineLengths;
  Rect txtRect;
};

void PrintTo(const MeasureCase& c, std::ostream* os) { *os << c.name; }

class CalculateTxtTest : public ::testing::TestWithParam<MeasureCase> {};

TEST_P(CalculateTxtTest, WrapAndSize) {
  const MeasureCase& c = GetParam();
  OffBtnLayoutInput button;
  button.Width = c.width;
  button.Height = 71;
  button.ControlType = c.kind;
  button.Position = c.position;
  button.ShowGlyph = c.showGlyph;
  button.Caption = std::string(c.captionLength, 'x');
  button.GlyphWidth = c.gw;
  button.GlyphHeight = 32;
  FakeCanvas canvas;
  canvas.CharWidth = 4;

  const CaptionText text = CalculateTxt(button, canvas.Measure());
  EXPECT_EQ(text.WrapWidth, c.wrapWidth);
  EXPECT_EQ(text.TxtRect, c.txtRect);
  std::vector<std::size_t> lengths;
  for (const std::string& line : text.Wrap.WrapLines) lengths.push_back(line.size());
  EXPECT_EQ(lengths, c.lineLengths);
}

// The limit is found at the boundary: a caption exactly WrapWidth wide fits
// (and WrapWidth becomes its width), one character more wraps.
//   push button, glyph beside: 174 - 32 - 18 = 124 (31 characters);
//   otherwise:                  174 - 13 = 161 (40 characters);
//   small kind with glyph:      174 - 16 - 10 = 148 (37 characters);
//   small kind without:         174 - 5 = 169 (42 characters).
INSTANTIATE_TEST_SUITE_P(
    Cases, CalculateTxtTest,
    ::testing::Values(
        MeasureCase{"GlyphLeftFits", Kind::bsButton, Pos::bsLeft, true, 174, 32, 31, 124,
                    {31}, {0, 0, 124, 13}},
        MeasureCase{"GlyphLeftWraps", Kind::bsButton, Pos::bsLeft, true, 174, 32, 32, 124,
                    {31, 1}, {0, 0, 124, 26}},
        MeasureCase{"GlyphRightWraps", Kind::bsButton, Pos::bsRight, true, 174, 32, 32, 124,
                    {31, 1}, {0, 0, 124, 26}},
        MeasureCase{"GlyphTopFits", Kind::bsButton, Pos::bsTop, true, 174, 32, 40, 160,
                    {40}, {0, 0, 160, 13}},
        MeasureCase{"GlyphTopWraps", Kind::bsButton, Pos::bsTop, true, 174, 32, 41, 161,
                    {40, 1}, {0, 0, 161, 26}},
        MeasureCase{"GlyphLeftHiddenWraps", Kind::bsButton, Pos::bsLeft, false, 174, 32, 41, 161,
                    {40, 1}, {0, 0, 161, 26}},
        MeasureCase{"RadioGlyphWraps", Kind::bsRadioButton, Pos::bsTop, true, 174, 16, 38, 148,
                    {37, 1}, {0, 0, 148, 26}},
        MeasureCase{"HintNoGlyphFits", Kind::bsHintButton, Pos::bsTop, false, 174, 15, 42, 168,
                    {42}, {0, 0, 168, 13}},
        MeasureCase{"HintNoGlyphWraps", Kind::bsHintButton, Pos::bsTop, false, 174, 15, 43, 169,
                    {42, 1}, {0, 0, 169, 26}},
        // 70 - 13 = 57: 14 characters a line, three lines of h0 = 13.
        MeasureCase{"ThreeLines", Kind::bsButton, Pos::bsLeft, false, 70, 0, 30, 57,
                    {14, 14, 2}, {0, 0, 57, 39}},
        // 15 - 13 = 2: not one character fits, no line, height 0.
        MeasureCase{"WrapFails", Kind::bsButton, Pos::bsLeft, false, 15, 0, 3, 2, {},
                    {0, 0, 2, 0}},
        // 1300 - 13 = 1287: 321 characters a line, nothing lost past 255.
        MeasureCase{"LongCaption", Kind::bsButton, Pos::bsLeft, false, 1300, 0, 400, 1287,
                    {321, 79}, {0, 0, 1287, 26}}),
    CaseName<MeasureCase>);

// The two example buttons, from caption to places: "Check now!" is 10
// characters of 8 px, 80 x 13.
TEST(Geometry, CaptionMeasuredAndPlaced) {
  FakeCanvas canvas;
  canvas.CharWidth = 8;
  OffBtnLayoutInput button;
  button.Width = 174;
  button.Height = 71;
  button.Position = Pos::bsLeft;
  button.Caption = "Check now!";
  button.GlyphWidth = 32;
  button.GlyphHeight = 32;

  button.ShowGlyph = true;
  CaptionText text = CalculateTxt(button, canvas.Measure());
  EXPECT_EQ(text.Wrap.WrapLineCount(), 1);
  EXPECT_EQ(text.TxtRect, (Rect{0, 0, 80, 13}));
  LayoutRects rects = Layout(button, text.TxtRect, canvas.Measure());
  EXPECT_EQ(rects.Glyph, (Rect{6, 20, 38, 52}));
  EXPECT_EQ(rects.Caption, (Rect{63, 29, 143, 42}));

  button.ShowGlyph = false;
  text = CalculateTxt(button, canvas.Measure());
  EXPECT_EQ(text.TxtRect, (Rect{0, 0, 80, 13}));
  rects = Layout(button, text.TxtRect, canvas.Measure());
  EXPECT_EQ(rects.Caption, (Rect{47, 29, 127, 42}));
}

// --- Automatic height ------------------------------------------------------

struct HeightCase {
  const char* name;
  Kind kind;
  Pos position;
  bool showGlyph;
  bool wordWrap;
  std::int32_t width;
  std::int32_t gw, gh;
  const char* caption;  // 6 px a character, 13 px high
  std::int32_t height;
};

void PrintTo(const HeightCase& c, std::ostream* os) { *os << c.name; }

class AdjustHeightTest : public ::testing::TestWithParam<HeightCase> {};

TEST_P(AdjustHeightTest, Height) {
  const HeightCase& c = GetParam();
  OffBtnLayoutInput button;
  button.Width = c.width;
  button.Height = 500;  // whatever it was before
  button.ControlType = c.kind;
  button.Position = c.position;
  button.ShowGlyph = c.showGlyph;
  button.WordWrap = c.wordWrap;
  button.Caption = c.caption;
  button.GlyphWidth = c.gw;
  button.GlyphHeight = c.gh;
  FakeCanvas canvas;
  EXPECT_EQ(AdjustHeight(button, canvas.Measure()), c.height);
}

// "Remove selected files" on a 70 px push button wraps into three lines
// (wrap width 57, 9 characters): "Remove", "selected", "files", 39 px.
INSTANTIATE_TEST_SUITE_P(
    Cases, AdjustHeightTest,
    ::testing::Values(
        HeightCase{"GlyphTop", Kind::bsButton, Pos::bsTop, true, true, 174, 32, 32, "Check now",
                   13 + 32 + 4 + 10},
        HeightCase{"GlyphBottom", Kind::bsButton, Pos::bsBottom, true, true, 174, 32, 32,
                   "Check now", 13 + 32 + 4 + 10},
        HeightCase{"GlyphLeft", Kind::bsButton, Pos::bsLeft, true, true, 174, 32, 32, "Check now",
                   32 + 10},
        HeightCase{"GlyphCenter", Kind::bsButton, Pos::bsCenter, true, true, 174, 32, 32,
                   "Check now", 32 + 10},
        HeightCase{"GlyphHidden", Kind::bsButton, Pos::bsTop, false, true, 174, 32, 32,
                   "Check now", 13 + 10},
        HeightCase{"UpButton", Kind::bsUpButton, Pos::bsTop, true, true, 174, 17, 9, "Check now",
                   13 + 5},
        HeightCase{"HintButtonGlyphTaller", Kind::bsHintButton, Pos::bsTop, true, true, 174, 15,
                   15, "Check now", 15 + 5},
        // 60 - 15 - 10 = 35, 5 characters: "Hint", "text".
        HeightCase{"HintButtonTwoLines", Kind::bsHintButton, Pos::bsTop, true, true, 60, 15, 15,
                   "Hint text", 26 + 5},
        HeightCase{"ThreeLines", Kind::bsButton, Pos::bsLeft, false, true, 70, 0, 0,
                   "Remove selected files", 39 + 10},
        HeightCase{"ThreeLinesGlyphTop", Kind::bsButton, Pos::bsTop, true, true, 70, 32, 32,
                   "Remove selected files", 39 + 32 + 4 + 10},
        HeightCase{"WordWrapOffOneLine", Kind::bsButton, Pos::bsLeft, false, false, 70, 0, 0,
                   "Remove selected files", 13 + 10},
        // 15 - 10 - 18 < 0: no line, caption height 0, the glyph decides.
        HeightCase{"WrapFailsGlyphLeft", Kind::bsButton, Pos::bsLeft, true, true, 15, 10, 10,
                   "Remove", 10 + 10}),
    CaseName<HeightCase>);

}  // namespace
}  // namespace controls
