// The gradient panel painted on a DIB surface: the documented examples band
// by band, the base panel alone where no gradient is drawn, the Percent
// split on a one-pixel panel, the bevels around the gradient and system
// colours resolved at paint time.

#include "controls/gpanel/win32/gpanel_paint.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/standard/win32/standard_paint.h"
#include "controls/standard/win32/tests/paint_check.h"
#include "ui/win32/testing/pixel_surface.h"

namespace controls {
namespace {

using paint_check::InkOf;
using paint_check::kUntouched;
using paint_check::Others;
using paint_check::System;
using ui::Colour;
using ui::win32::testing::Mismatches;
using ui::win32::testing::PixelSurface;

constexpr Colour kWhite = 0x00FFFFFF;
constexpr Colour kBlack = 0x00000000;
constexpr Colour kFace = 0x00FFF3EF;  // red 239, green 243, blue 255
constexpr Colour kBack = 0x00E0FFE0;  // the panel's own colour
constexpr Colour kText = 0x00912400;

// A panel without bevels, in its own colour, with a caption that the
// gradient is to cover.
template <class Panel>
std::unique_ptr<Panel> Make(int width, int height) {
  auto panel = std::make_unique<Panel>();
  panel->SetBounds(0, 0, width, height);
  panel->SetBevelOuter(TPanelBevel::bvNone);
  panel->SetColor(kBack);
  panel->SetCaption("Caption");
  panel->GetFont()->SetColor(kText);
  return panel;
}

std::unique_ptr<PixelSurface> Painted(const TGPanel& panel) {
  auto surface = std::make_unique<PixelSurface>(panel.Width(), panel.Height(), kUntouched);
  PaintGPanel(panel, surface->GetCanvas());
  return surface;
}

// Bands along the gradient's axis: from `start`, `length` pixels of `colour`.
struct Band {
  int start;
  int length;
  Colour colour;
};

TEST(GPanelPaint, TheDocumentedExamplesBandByBand) {
  const std::vector<Band> whiteToFace41 = {
      {0, 3, 0x00FFFFFF},  {3, 3, 0x00FFFFFE},  {6, 3, 0x00FFFEFD},  {9, 3, 0x00FFFDFC},
      {12, 3, 0x00FFFCFB}, {15, 3, 0x00FFFBF9}, {18, 3, 0x00FFFAF8}, {21, 3, 0x00FFF9F7},
      {24, 3, 0x00FFF8F6}, {27, 3, 0x00FFF7F4}, {30, 3, 0x00FFF6F3}, {33, 3, 0x00FFF5F2},
      {36, 3, 0x00FFF4F1}, {39, 2, 0x00FFF4F0}};
  const std::vector<Band> faceToWhite57 = {
      {0, 4, 0x00FFF3EF},  {4, 4, 0x00FFF3F0},  {8, 4, 0x00FFF4F1},  {12, 4, 0x00FFF5F2},
      {16, 4, 0x00FFF6F3}, {20, 4, 0x00FFF7F4}, {24, 4, 0x00FFF8F5}, {28, 4, 0x00FFF8F6},
      {32, 4, 0x00FFF9F8}, {36, 4, 0x00FFFAF9}, {40, 4, 0x00FFFBFA}, {44, 4, 0x00FFFCFB},
      {48, 4, 0x00FFFDFC}, {52, 4, 0x00FFFEFD}, {56, 1, 0x00FFFEFE}};
  const struct {
    const char* name;
    bool horizontal;
    int length;  // along the axis; 30 across
    Colour from, to;
    const std::vector<Band>& bands;
  } kCases[] = {
      {"white to the face colour, 41 high", false, 41, kWhite, kFace, whiteToFace41},
      {"white to the face colour, 41 wide", true, 41, kWhite, kFace, whiteToFace41},
      {"the face colour to white, 57 high", false, 57, kFace, kWhite, faceToWhite57},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    auto panel = c.horizontal ? Make<TGPanel>(c.length, 30) : Make<TGPanel>(30, c.length);
    panel->SetHorizontal(c.horizontal);
    panel->SetColor_1(c.from);
    panel->SetColor_2(c.to);
    const auto surface = Painted(*panel);
    // Every pixel is its band's colour: the caption is covered.
    EXPECT_EQ(Mismatches(*surface,
                         [&](int x, int y) {
                           const int along = c.horizontal ? x : y;
                           for (const Band& band : c.bands) {
                             if (along >= band.start && along < band.start + band.length) {
                               return band.colour;
                             }
                           }
                           return kUntouched;  // beyond the documented bands
                         }),
              "");
  }
}

TEST(GPanelPaint, BlackToWhiteOverAHundredPixelsNeverReachesWhite) {
  auto panel = Make<TGPanel>(100, 10);
  panel->SetColor_1(kBlack);
  panel->SetColor_2(kWhite);
  const auto surface = Painted(*panel);
  // One-pixel bands: column k has grey 255 k / 100, rounded down.
  const std::pair<int, Colour> kColumns[] = {
      {0, 0x00000000}, {1, 0x00020202}, {2, 0x00050505}, {50, 0x007F7F7F}, {99, 0x00FCFCFC}};
  for (const auto& [x, colour] : kColumns) EXPECT_EQ(surface->At(x, 5), colour) << x;
  EXPECT_EQ(InkOf(*surface, kWhite).count, 0);
  for (int x = 0; x < 100; ++x) {
    for (int y = 0; y < 10; ++y) ASSERT_EQ(surface->At(x, y), surface->At(x, 0)) << x << "," << y;
    if (x > 0) ASSERT_GE(surface->At(x, 0) & 0xFF, surface->At(x - 1, 0) & 0xFF) << x;
  }
}

// The base panel with everything a TGPanel shares with it.
void CopyBase(const TGPanel& from, TPanel& to) {
  to.SetBounds(0, 0, from.Width(), from.Height());
  to.SetBevelOuter(from.BevelOuter());
  to.SetBevelInner(from.BevelInner());
  to.SetBevelWidth(from.BevelWidth());
  to.SetColor(from.Color());
  to.SetCaption(from.Caption());
  to.SetAlignment(from.Alignment());
  to.GetFont()->Assign(from.FontOf());
}

TEST(GPanelPaint, WithoutAGradientItLooksExactlyLikeTheBasePanel) {
  const struct {
    const char* name;
    bool active;
    Colour c1, c2, c3;
    int percent;
    int width = 90;
  } kCases[] = {
      {"Color_1 equal to Color_2", true, 0x00123456, 0x00123456, kBlack, 100},
      {"all three equal, split", true, kWhite, kWhite, kWhite, 40},
      {"not Active", false, kBlack, kWhite, 0x000000FF, 60},
      {"not Active, system colours", false, ui::kColourBtnFace, kWhite, kBlack, 100},
      // The bevels take more than the width: a gradient along the height
      // would have a negative extent across.
      {"no room across", true, kBlack, kWhite, kBlack, 100, 3},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    auto panel = Make<TGPanel>(c.width, 40);
    panel->SetHorizontal(false);
    panel->SetBevelOuter(TPanelBevel::bvRaised);
    panel->SetBevelInner(TPanelBevel::bvLowered);
    panel->SetActive(c.active);
    panel->SetColor_1(c.c1);
    panel->SetColor_2(c.c2);
    panel->SetColor_3(c.c3);
    panel->SetPercent(c.percent);
    const auto surface = Painted(*panel);

    TPanel base;
    CopyBase(*panel, base);
    PixelSurface expected(c.width, 40, kUntouched);
    PaintPanel(base, expected.GetCanvas());
    EXPECT_EQ(Mismatches(*surface, [&](int x, int y) { return expected.At(x, y); }), "");
  }
}

TEST(GPanelPaint, APanelOnePixelLongGivesItToTheFirstSegment) {
  for (const bool horizontal : {false, true}) {
    SCOPED_TRACE(horizontal ? "one pixel wide" : "one pixel high");
    auto panel = horizontal ? Make<TGPanel>(1, 20) : Make<TGPanel>(20, 1);
    panel->SetHorizontal(horizontal);
    panel->SetColor_1(kBlack);
    panel->SetColor_2(kWhite);
    panel->SetColor_3(0x000000FF);
    panel->SetPercent(50);
    EXPECT_EQ(Others(*Painted(*panel), {kBlack}), "");
  }
}

TEST(GPanelPaint, TheGradientStartsInsideTheBevels) {
  // Raised outer and inner bevels of width 2 round a 30 x 20 panel: the
  // gradient covers (4,4)-(26,16), black at the top in twelve one-pixel
  // bands, the last grey 255 * 11 / 12.
  auto panel = Make<TGPanel>(30, 20);
  panel->SetBevelOuter(TPanelBevel::bvRaised);
  panel->SetBevelInner(TPanelBevel::bvRaised);
  panel->SetBevelWidth(2);
  panel->SetHorizontal(false);
  panel->SetColor_1(kBlack);
  panel->SetColor_2(kWhite);
  const auto surface = Painted(*panel);
  const Colour highlight = System(COLOR_BTNHIGHLIGHT);
  const Colour shadow = System(COLOR_BTNSHADOW);
  const std::pair<ui::Point, Colour> kPoints[] = {
      {{3, 10}, highlight}, {{4, 10}, 0x007F7F7F},  // band 6: 2125 * 6 / 100
      {{26, 10}, shadow},   {{25, 10}, 0x007F7F7F},
      {{10, 3}, highlight}, {{10, 4}, kBlack},    {{25, 4}, kBlack},
      {{10, 16}, shadow},   {{10, 15}, 0x00E9E9E9}, {{4, 15}, 0x00E9E9E9},
      {{0, 0}, highlight},  {{29, 19}, shadow},
  };
  for (const auto& [at, colour] : kPoints) {
    EXPECT_EQ(surface->At(at.x, at.y), colour) << at.x << "," << at.y;
  }
  // Each row of the area one band.
  for (int y = 4; y < 16; ++y) {
    for (int x = 4; x < 26; ++x) ASSERT_EQ(surface->At(x, y), surface->At(4, y)) << x << "," << y;
  }
}

TEST(GPanelPaint, SystemColoursAreResolvedWhenPainted) {
  auto panel = Make<TGPanel>(10, 20);
  panel->SetHorizontal(false);
  ASSERT_EQ(panel->Color_1(), ui::kColourBtnFace) << "the default start";
  EXPECT_EQ(Painted(*panel)->At(5, 0), System(COLOR_BTNFACE));
}

}  // namespace
}  // namespace controls
