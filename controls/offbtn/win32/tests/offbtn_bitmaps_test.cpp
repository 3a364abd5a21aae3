// The flat button's glyph drawing with a transparent colour and its
// embossed disabled glyph, read back pixel by pixel under Wine. Expected
// pixels come from the source bitmap's own pixels and the coordinates.

#include "controls/offbtn/win32/offbtn_bitmaps.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "ui/win32/testing/pixel_surface.h"

namespace {

using ui::Colour;
using ui::Rect;
using ui::win32::Bitmap;
using ui::win32::MemoryCanvas;
using ui::win32::testing::MakeBitmap;
using ui::win32::testing::Mismatches;
using ui::win32::testing::PixelSurface;
using ui::win32::testing::ReadPixels;

// A background that differs from pixel to pixel, so an unpainted pixel
// can be told from one painted with a colour that happens to match.
Colour Backdrop(int x, int y) { return static_cast<Colour>(0x00204060 + x * 0x0B + y * 0x0500); }

void PaintBackdrop(PixelSurface& surface) {
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) surface.GetCanvas().SetPixel({x, y}, Backdrop(x, y));
  }
}

Bitmap LoadGlyph(int number) {
  return Bitmap::LoadFromResource(GetModuleHandleW(nullptr), "OFFICE_" + std::to_string(number));
}

// A 6 x 4 picture with black (0) on an outline, red, white and a near-black.
const std::vector<Colour> kPicture = {
    0x000000FF, 0x00000000, 0x00000000, 0x00000000, 0x000000FF, 0x00FFFFFF,  //
    0x00000000, 0x00FFFFFF, 0x00010000, 0x00000000, 0x000000FF, 0x00FFFFFF,  //
    0x00000000, 0x000000FF, 0x000000FF, 0x00000000, 0x00000000, 0x00FFFFFF,  //
    0x00000000, 0x00000000, 0x00000000, 0x00FFFFFF, 0x000000FF, 0x00000000,  //
};

// ---- DrawTransparentBitmapNew ----

struct TransparentCase {
  std::string name;
  int glyph;           // OFFICE_<glyph>, or 0 for kPicture
  Colour transparent;  // for kPicture; a glyph's is its bottom-left pixel
  int x;
  int y;
};
void PrintTo(const TransparentCase& c, std::ostream* os) { *os << c.name; }

class TransparentTest : public ::testing::TestWithParam<TransparentCase> {};

TEST_P(TransparentTest, TransparentPixelsKeepTheBackgroundAndSourceStays) {
  const TransparentCase& c = GetParam();
  Bitmap source = c.glyph != 0 ? LoadGlyph(c.glyph) : MakeBitmap(6, 4, kPicture);
  ASSERT_FALSE(source.Empty());
  const int w = source.Width();
  const int h = source.Height();
  const std::vector<Colour> before = ReadPixels(source);
  const Colour transparent = c.glyph != 0 ? before[(h - 1) * w] : c.transparent;

  PixelSurface surface(24, 20);
  PaintBackdrop(surface);
  controls::DrawTransparentBitmapNew(surface.GetCanvas(), source.Handle(), c.x, c.y, transparent);

  EXPECT_EQ(Mismatches(surface,
                       [&](int x, int y) {
                         const int sx = x - c.x;
                         const int sy = y - c.y;
                         if (sx < 0 || sy < 0 || sx >= w || sy >= h) return Backdrop(x, y);
                         const Colour s = before[sy * w + sx];
                         return s == transparent ? Backdrop(x, y) : s;
                       }),
            "");
  EXPECT_EQ(ReadPixels(source), before) << "the caller's bitmap is put back";
}

std::vector<TransparentCase> TransparentCases() {
  std::vector<TransparentCase> cases = {
      {"black_transparent", 0, 0x00000000, 3, 2},
      {"red_transparent", 0, 0x000000FF, 5, 7},
      {"white_transparent", 0, 0x00FFFFFF, 0, 0},
      {"none_transparent", 0, 0x00123456, 10, 3},
      {"partly_off_the_left_top", 0, 0x00000000, -2, -1},
      {"partly_off_the_right_bottom", 0, 0x00000000, 21, 18},
  };
  // Every built-in glyph, as the button draws it with automatic transparency.
  for (int glyph = 1; glyph <= 24; ++glyph) {
    cases.push_back({"OFFICE_" + std::to_string(glyph), glyph, 0, 4, 3});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Pictures, TransparentTest, ::testing::ValuesIn(TransparentCases()),
                         [](const auto& info) { return info.param.name; });

TEST(DrawTransparentBitmap, ResolvesSystemColour) {
  const Colour face = GetSysColor(COLOR_BTNFACE);
  const std::vector<Colour> pixels = {face, 0x00000080, 0x00000080, face};
  Bitmap source = MakeBitmap(2, 2, pixels);
  PixelSurface surface(6, 6);
  PaintBackdrop(surface);
  controls::DrawTransparentBitmap(surface.GetCanvas(), 1, 2, source, ui::kColourBtnFace);
  EXPECT_EQ(Mismatches(surface,
                       [&](int x, int y) {
                         const bool ink = (x == 2 && y == 2) || (x == 1 && y == 3);
                         return ink ? Colour{0x00000080} : Backdrop(x, y);
                       }),
            "");
}

TEST(DrawTransparentBitmap, EmptyBitmapDrawsNothing) {
  PixelSurface surface(6, 6);
  PaintBackdrop(surface);
  controls::DrawTransparentBitmap(surface.GetCanvas(), 1, 1, Bitmap{}, 0);
  EXPECT_EQ(Mismatches(surface, Backdrop), "");
}

// ---- CreateDisabledBitmap ----

struct DisabledCase {
  std::string name;
  int glyph;  // OFFICE_<glyph>, or 0 for kPicture
  Colour outline;
  Colour outlineRgb;
};
void PrintTo(const DisabledCase& c, std::ostream* os) { *os << c.name; }

class DisabledTest : public ::testing::TestWithParam<DisabledCase> {};

TEST_P(DisabledTest, ShadowOverHighlightWhereOutlineWasButtonFaceElsewhere) {
  const DisabledCase& c = GetParam();
  const Bitmap source = c.glyph != 0 ? LoadGlyph(c.glyph) : MakeBitmap(6, 4, kPicture);
  const int w = source.Width();
  const int h = source.Height();
  const std::vector<Colour> pixels = ReadPixels(source);
  ASSERT_GT(std::count(pixels.begin(), pixels.end(), c.outlineRgb), 0) << "the case has an outline";

  Bitmap cache = MakeBitmap(3, 3, std::vector<Colour>(9, 0x00ABCDEF));  // replaced
  controls::CreateDisabledBitmap(source, c.outline, cache);
  ASSERT_EQ(cache.Width(), w);
  ASSERT_EQ(cache.Height(), h);

  const Colour face = GetSysColor(COLOR_BTNFACE);
  const Colour shadow = GetSysColor(COLOR_BTNSHADOW);
  const Colour highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  auto isOutline = [&](int x, int y) {
    return x >= 0 && y >= 0 && pixels[y * w + x] == c.outlineRgb;
  };
  PixelSurface surface(w, h);
  {
    MemoryCanvas result(nullptr, cache);
    surface.GetCanvas().BitBlt({0, 0}, {w, h}, result, {0, 0}, ui::win32::RasterOp::kSrcCopy);
  }
  EXPECT_EQ(Mismatches(surface,
                       [&](int x, int y) {
                         if (isOutline(x, y)) return shadow;
                         if (isOutline(x - 1, y - 1)) return highlight;
                         return face;
                       }),
            "");
  EXPECT_EQ(ReadPixels(source), pixels) << "the source is not changed";
}

INSTANTIATE_TEST_SUITE_P(
    Sources, DisabledTest,
    ::testing::Values(DisabledCase{"black_outline", 0, 0x00000000, 0x00000000},
                      DisabledCase{"red_outline", 0, 0x000000FF, 0x000000FF},
                      // kPicture has it when COLOR_WINDOWTEXT is black, as in a fresh prefix.
                      DisabledCase{"system_outline", 0, ui::kColourWindowText,
                                   static_cast<Colour>(GetSysColor(COLOR_WINDOWTEXT))},
                      // The pressed bullet's rim is black; an 8-bit source.
                      DisabledCase{"glyph_OFFICE_3", 3, 0x00000000, 0x00000000}),
    [](const auto& info) { return info.param.name; });

TEST(CreateDisabledBitmap, EmptySourceGivesEmptyCache) {
  Bitmap cache = MakeBitmap(2, 2, {0, 0, 0, 0});
  controls::CreateDisabledBitmap(Bitmap{}, 0, cache);
  EXPECT_TRUE(cache.Empty());
}

}  // namespace
