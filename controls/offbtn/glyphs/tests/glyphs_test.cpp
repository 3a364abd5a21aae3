// The built-in glyphs as the button loads them: bitmap resources of the
// program found by name, 8-bit palette pictures of each kind's size, four
// per kind (active, disabled, down, inactive).

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "ui/win32/canvas.h"
#include "ui/win32/testing/pixel_surface.h"

namespace {

using ui::Colour;
using ui::win32::Bitmap;
using ui::win32::testing::ReadPixels;

struct GlyphSet {
  const char* kind;
  int first;  // OFFICE_<first> is the active picture
  int width;
  int height;
};
void PrintTo(const GlyphSet& s, std::ostream* os) { *os << s.kind; }

Bitmap Load(int number) {
  return Bitmap::LoadFromResource(GetModuleHandleW(nullptr), "OFFICE_" + std::to_string(number));
}

bool IsGrey(Colour c) {
  return (c & 0xFF) == ((c >> 8) & 0xFF) && (c & 0xFF) == ((c >> 16) & 0xFF);
}

class GlyphSetTest : public ::testing::TestWithParam<GlyphSet> {};

TEST_P(GlyphSetTest, FourEightBitPicturesOfTheKindsSize) {
  const GlyphSet& s = GetParam();
  for (int number = s.first; number < s.first + 4; ++number) {
    SCOPED_TRACE("OFFICE_" + std::to_string(number));
    const Bitmap glyph = Load(number);
    ASSERT_FALSE(glyph.Empty());
    EXPECT_EQ(glyph.Width(), s.width);
    EXPECT_EQ(glyph.Height(), s.height);
    EXPECT_EQ(glyph.BitsPerPixel(), 8);
  }
}

TEST_P(GlyphSetTest, DisabledIsGreyAndHoverAndPressShow) {
  const GlyphSet& s = GetParam();
  std::vector<std::vector<Colour>> pictures;
  for (int number = s.first; number < s.first + 4; ++number)
    pictures.push_back(ReadPixels(Load(number)));
  // The bottom-left pixel is the transparent colour (automatic transparency).
  const Colour transparent = pictures[0][(s.height - 1) * s.width];
  for (const auto& picture : pictures) {
    ASSERT_EQ(picture.size(), static_cast<std::size_t>(s.width * s.height));
    EXPECT_EQ(picture[(s.height - 1) * s.width], transparent);
    int drawn = 0;
    for (Colour c : picture) drawn += c != transparent;
    EXPECT_GT(drawn, s.width * s.height / 4) << "a picture, not an empty glyph";
  }
  const auto& active = pictures[0];
  const auto& disabled = pictures[1];
  const auto& down = pictures[2];
  const auto& inactive = pictures[3];
  for (Colour c : disabled) {
    if (c != transparent) {
      EXPECT_TRUE(IsGrey(c)) << std::hex << c;
    }
  }
  for (const auto* picture : {&active, &down, &inactive}) {
    int coloured = 0;
    for (Colour c : *picture) coloured += c != transparent && !IsGrey(c);
    EXPECT_GT(coloured, 0);
  }
  EXPECT_NE(active, inactive);
  EXPECT_NE(down, inactive);
  EXPECT_NE(down, active);
}

INSTANTIATE_TEST_SUITE_P(Kinds, GlyphSetTest,
                         ::testing::Values(GlyphSet{"bullet", 1, 10, 10},
                                           GlyphSet{"radio_office97", 5, 15, 15},
                                           GlyphSet{"up", 9, 17, 9}, GlyphSet{"down", 13, 17, 9},
                                           GlyphSet{"radio_office2000", 17, 16, 16},
                                           GlyphSet{"hint", 21, 15, 15}),
                         [](const auto& info) { return std::string(info.param.kind); });

// Drawn pixels per row, top to bottom.
std::vector<int> RowWidths(int number) {
  const Bitmap glyph = Load(number);
  const std::vector<Colour> pixels = ReadPixels(glyph);
  const int w = glyph.Width();
  const Colour transparent = pixels[(glyph.Height() - 1) * w];
  std::vector<int> widths;
  for (int y = 0; y < glyph.Height(); ++y) {
    int drawn = 0;
    for (int x = 0; x < w; ++x) drawn += pixels[y * w + x] != transparent;
    if (drawn > 0) widths.push_back(drawn);
  }
  return widths;
}

TEST(Glyphs, ArrowsPointTheirWay) {
  for (int number = 9; number <= 16; ++number) {
    SCOPED_TRACE("OFFICE_" + std::to_string(number));
    const std::vector<int> widths = RowWidths(number);
    ASSERT_GE(widths.size(), 3u);
    if (number <= 12) {
      EXPECT_LT(widths.front(), widths.back()) << "up: narrow at the top";
    } else {
      EXPECT_GT(widths.front(), widths.back()) << "down: narrow at the bottom";
    }
  }
}

TEST(Glyphs, NoneBeyondTheTwentyFour) {
  EXPECT_TRUE(Load(0).Empty());
  EXPECT_TRUE(Load(25).Empty());
}

}  // namespace
