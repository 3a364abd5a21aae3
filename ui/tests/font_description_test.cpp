// A control's font as the canvas gets it: each style bit lands on its own
// flag, and the rest of the font is carried over.

#include "ui/font_description.h"

#include <gtest/gtest.h>

namespace {

struct StyleCase {
  std::uint32_t style;
  bool bold, italic, underline, strikeout;
};

class DescribeStyleTest : public ::testing::TestWithParam<StyleCase> {};

TEST_P(DescribeStyleTest, MapsEachStyleBit) {
  const StyleCase& c = GetParam();
  ui::Font font;
  font.SetStyle(c.style);
  const ui::FontDescription d = ui::Describe(font);
  EXPECT_EQ(d.bold, c.bold);
  EXPECT_EQ(d.italic, c.italic);
  EXPECT_EQ(d.underline, c.underline);
  EXPECT_EQ(d.strikeout, c.strikeout);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, DescribeStyleTest,
    ::testing::Values(StyleCase{0, false, false, false, false},
                      StyleCase{ui::Font::kBold, true, false, false, false},
                      StyleCase{ui::Font::kItalic, false, true, false, false},
                      StyleCase{ui::Font::kUnderline, false, false, true, false},
                      StyleCase{ui::Font::kStrikeOut, false, false, false, true},
                      StyleCase{ui::Font::kBold | ui::Font::kStrikeOut, true, false, false, true}));

TEST(Describe, CarriesNameSizeColourAndCharset) {
  ui::Font font;
  font.SetName("Tahoma");
  font.SetSize(11);
  font.SetColor(0x00912400);
  font.SetCharset(204);
  const ui::FontDescription d = ui::Describe(font);
  EXPECT_EQ(d.name, "Tahoma");
  EXPECT_EQ(d.size, 11);
  EXPECT_EQ(d.height, 0);
  EXPECT_EQ(d.colour, 0x00912400u);
  EXPECT_EQ(d.charset, 204);
}

// A stored form may give a font's height in pixels instead of its size.
TEST(Describe, APixelHeightIsDrawnExactlyAndSizeTakesItBack) {
  ui::Font font;
  EXPECT_EQ(font.Height(), -11) << "8 points on a 96 dpi screen";
  font.SetHeight(-10);
  EXPECT_EQ(font.Size(), 8) << "7.5 points, rounded";
  EXPECT_EQ(ui::Describe(font).height, -10);
  ui::Font copy;
  copy.Assign(font);
  EXPECT_TRUE(copy == font);
  EXPECT_EQ(ui::Describe(copy).height, -10);
  font.SetSize(8);
  EXPECT_EQ(ui::Describe(font).height, 0) << "the size rules again";
  EXPECT_EQ(font.Height(), -11);
}

TEST(Describe, NewFontGivesTheDefaultDescription) {
  EXPECT_EQ(ui::Describe(ui::Font{}), ui::FontDescription{});
}

}  // namespace
