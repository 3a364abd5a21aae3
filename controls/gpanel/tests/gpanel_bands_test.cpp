// The gradient's bands: band sizes and colours of the documented examples,
// skipped segments, the Percent split, and never more fills than colour
// steps.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <random>
#include <vector>

#include "controls/gpanel/gpanel_bands.h"

namespace controls {

void PrintTo(const GradientBand& band, std::ostream* os) {
  *os << "(" << band.rect.left << "," << band.rect.top << ")-(" << band.rect.right << ","
      << band.rect.bottom << ") #" << std::hex << band.colour << std::dec;
}

namespace {

constexpr ui::Colour kWhite = 0x00FFFFFF;
constexpr ui::Colour kFace = 0x00FFF3EF;  // red 239, green 243, blue 255

// System colours resolve to fixed values here: index 15 (button face) is grey.
ui::Colour Resolve(ui::Colour colour) {
  return ui::ResolveColour(colour, [](int index) { return index == 15 ? 0x00C0C0C0u : 0u; });
}

std::vector<GradientBand> Bands(int width, int height, Gradient gradient) {
  return GradientBands({0, 0, width, height}, gradient, Resolve);
}

TEST(GradientBands, VerticalBetweenWhiteAndTheFaceColour) {
  const Gradient down{kWhite, kFace, 0, false, 100};
  const auto bands = Bands(200, 41, down);
  ASSERT_EQ(bands.size(), 14u) << "bands 0..13";
  for (int k = 0; k < 13; ++k) {
    EXPECT_EQ(bands[k].rect, (ui::Rect{0, 3 * k, 200, 3 * k + 3})) << k;
  }
  EXPECT_EQ(bands[13].rect, (ui::Rect{0, 39, 200, 41})) << "the rest, rows 39-40";
  EXPECT_EQ(bands[0].colour, 0x00FFFFFFu);
  EXPECT_EQ(bands[1].colour, 0x00FFFFFEu);
  EXPECT_EQ(bands[2].colour, 0x00FFFEFDu);
  EXPECT_EQ(bands[12].colour, 0x00FFF4F1u);
  EXPECT_EQ(bands[13].colour, 0x00FFF4F0u);

  const Gradient up{kFace, kWhite, 0, false, 100};
  const auto reversed = Bands(200, 57, up);
  ASSERT_EQ(reversed.size(), 15u) << "N = 14";
  EXPECT_EQ(reversed[0].rect, (ui::Rect{0, 0, 200, 4}));
  EXPECT_EQ(reversed[14].rect, (ui::Rect{0, 56, 200, 57})) << "last band one pixel";
  EXPECT_EQ(reversed[0].colour, kFace);
  EXPECT_EQ(reversed[14].colour, 0x00FFFEFEu);
}

TEST(GradientBands, BlackToWhiteNeverReachesWhite) {
  const auto bands = Bands(100, 30, Gradient{0, kWhite, 0, true, 100});
  ASSERT_EQ(bands.size(), 101u);
  EXPECT_EQ(bands[99].rect, (ui::Rect{99, 0, 100, 30}));
  EXPECT_EQ(bands[99].colour, 0x00FCFCFCu);
  EXPECT_EQ(bands[100].rect.Width(), 0) << "white's band is empty";
}

TEST(GradientBands, SegmentsThatDrawNothingOrOneColour) {
  const struct {
    const char* name;
    int width, height;
    Gradient gradient;
    std::vector<GradientBand> bands;
  } kCases[] = {
      {"equal colours", 50, 20, {kFace, kFace, 0, true, 100}, {}},
      // Stored differently, resolved the same: the one colour, plainly.
      {"a system colour and its value", 50, 20, {0x8000000F, 0x00C0C0C0, 0, true, 100},
       {{{0, 0, 50, 20}, 0x00C0C0C0}}},
      {"no length", 0, 20, {0, kWhite, 0, true, 100}, {}},
      {"Percent 50 on one pixel: the second segment is empty", 1, 5, {kWhite, 0, kFace, true, 50},
       {{{0, 0, 1, 5}, kWhite}, {{1, 0, 1, 5}, 0}}},
      {"Color_3 has no part at 100", 3, 1, {kWhite, kWhite, 0, true, 100}, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Bands(c.width, c.height, c.gradient), c.bands);
  }
}

TEST(GradientBands, PercentSplitsTheLengthBetweenTwoSegments) {
  // 40 % of 10 pixels: 4 from black to white, 6 from white to black.
  const auto bands = Bands(10, 2, Gradient{0, kWhite, 0, true, 40});
  ASSERT_FALSE(bands.empty());
  EXPECT_EQ(bands.front().rect.left, 0);
  std::size_t second = 0;
  while (second < bands.size() && bands[second].rect.left < 4) ++second;
  ASSERT_LT(second, bands.size());
  EXPECT_EQ(bands[second].rect.left, 4);
  EXPECT_EQ(bands[second].colour, kWhite) << "the second segment starts at Color_2";
  EXPECT_EQ(bands.back().rect.right, 10);
  // Equal seam and end colours skip only the second segment.
  const auto firstOnly = Bands(10, 2, Gradient{0, kWhite, kWhite, true, 40});
  EXPECT_EQ(firstOnly.back().rect.right, 4);
}

TEST(GradientBands, PercentIsClamped) {
  const struct {
    int set, read;
  } kCases[] = {{-5, 1}, {0, 1}, {1, 1}, {50, 50}, {99, 99}, {100, 100}, {250, 100}};
  for (const auto& c : kCases) EXPECT_EQ(ClampPercent(c.set), c.read) << c.set;
}

TEST(GradientBands, NeverMoreFillsThanColourStepsPlusOne) {
  std::mt19937 random(1926);
  for (int round = 0; round < 2000; ++round) {
    const ui::Colour a = random() & 0x00FFFFFF;
    const ui::Colour b = random() & 0x00FFFFFF;
    const int length = 1 + static_cast<int>(random() % 700);
    if (a == b) continue;
    int delta = 0;
    for (int shift : {0, 8, 16}) {
      delta = std::max(delta, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                       static_cast<int>((b >> shift) & 0xFF)));
    }
    const auto bands = Bands(length, 3, Gradient{a, b, 0, true, 100});
    ASSERT_LE(static_cast<int>(bands.size()), delta + 1) << length;
    ASSERT_EQ(bands.front().colour, a);
    ASSERT_EQ(bands.back().rect.right, length) << "the bands cover the whole length";
  }
}

}  // namespace
}  // namespace controls
