// The flat button's two frames in every state, read back pixel by pixel
// under Wine and compared with the pixels the frame tables name.

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "controls/offbtn/win32/offbtn_paint.h"
#include "controls/offbtn/win32/tests/frame_tables.h"
#include "ui/win32/testing/pixel_surface.h"

namespace {

using controls::FrameColours;
using controls::TOffBtnState;
using offbtn_test::PixelMap;
using ui::Colour;
using ui::win32::testing::Mismatches;
using ui::win32::testing::PixelSurface;

// Different from every frame colour used below.
constexpr Colour kBackground = 0x00123456;

// The button's initial colours, and a set with system colours among them,
// which are resolved when drawn.
const FrameColours kDefaultColours{};
const FrameColours kSystemColours{ui::kColourBtnShadow, 0x00004080, ui::kColourBtnHighlight,
                                  ui::kColourWindowText};

enum class Look { kOffice97, kOffice2000 };

struct FrameCase {
  Look look;
  TOffBtnState state;
  int width;
  int height;
  const FrameColours* colours;
  std::string name;
};
void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

class FrameTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameTest, PaintsExactlyTheTablePixels) {
  const FrameCase& c = GetParam();
  PixelSurface surface(c.width, c.height, kBackground);
  PixelMap expected;
  if (c.look == Look::kOffice97) {
    controls::DrawFrame(surface.GetCanvas(), c.state, *c.colours, c.width, c.height);
    expected = offbtn_test::FramePixels(offbtn_test::kDrawFrameTable, c.state, *c.colours,
                                        c.width, c.height);
  } else {
    controls::DrawOffice2000Frame(surface.GetCanvas(), c.state, *c.colours, c.width, c.height);
    expected = offbtn_test::FramePixels(offbtn_test::kDrawOffice2000FrameTable, c.state,
                                        *c.colours, c.width, c.height);
  }
  EXPECT_EQ(Mismatches(surface,
                       [&](int x, int y) {
                         const auto it = expected.find({x, y});
                         return it == expected.end() ? kBackground : it->second;
                       }),
            "");
}

std::vector<FrameCase> FrameCases() {
  std::vector<FrameCase> cases;
  const TOffBtnState states[] = {TOffBtnState::bsInactive, TOffBtnState::bsActive,
                                 TOffBtnState::bsDown, TOffBtnState::bsDownAndOut};
  for (Look look : {Look::kOffice97, Look::kOffice2000}) {
    for (TOffBtnState state : states) {
      for (auto [w, h] : {std::pair{70, 23}, std::pair{174, 71}}) {
        const std::string name = std::string(look == Look::kOffice97 ? "Office97_" : "Office2000_") +
                                 offbtn_test::StateName(state) + "_" + std::to_string(w) + "x" +
                                 std::to_string(h);
        cases.push_back({look, state, w, h, &kDefaultColours, name});
        if (w == 70) cases.push_back({look, state, w, h, &kSystemColours, name + "_system_colours"});
      }
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(LooksStatesSizes, FrameTest, ::testing::ValuesIn(FrameCases()),
                         [](const auto& info) { return info.param.name; });

// The worked example: a 70 x 23 button at rest, Office 2000 look, default
// colours, outlined through eight corner points back to the first.
TEST(Office2000Frame, InactiveOutlineThroughTheEightCornerPoints) {
  PixelSurface surface(70, 23, kBackground);
  controls::DrawOffice2000Frame(surface.GetCanvas(), TOffBtnState::bsInactive, kDefaultColours, 70,
                                23);
  const std::vector<ui::Point> outline = offbtn_test::PolylinePixels(
      {{3, 1}, {1, 3}, {1, 19}, {3, 21}, {66, 21}, {68, 19}, {68, 3}, {66, 1}, {3, 1}});
  EXPECT_EQ(Mismatches(surface,
                       [&](int x, int y) {
                         for (const ui::Point& p : outline) {
                           if (p == ui::Point{x, y}) return Colour{0x00C0C0C0};
                         }
                         return kBackground;
                       }),
            "");
}

}  // namespace
