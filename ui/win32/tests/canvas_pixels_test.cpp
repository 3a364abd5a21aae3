// The canvas's drawing operations, read back pixel by pixel from a 32-bit
// DIB section: which pixels each operation paints is what the controls'
// frames and glyphs are built on.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/text_flags.h"
#include "ui/win32/canvas.h"
#include "ui/win32/testing/pixel_surface.h"

namespace {

using ui::Colour;
using ui::Point;
using ui::Rect;
using ui::Size;
using ui::win32::Bitmap;
using ui::win32::BrushStyle;
using ui::win32::Canvas;
using ui::win32::MemoryCanvas;
using ui::win32::PenStyle;
using ui::win32::RasterOp;
using ui::win32::testing::MakeBitmap;
using ui::win32::testing::Mismatches;
using ui::win32::testing::PixelSurface;
using ui::win32::testing::ReadPixels;

constexpr Colour kBackground = 0x00E0D0C0;
constexpr Colour kInk = 0x00204080;

bool Inside(const Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

Colour SysColour(int index) { return GetSysColor(index); }

// ---- FillRect ----

struct FillCase {
  const char* name;
  Rect rect;
  Colour colour;
  Colour drawn;
};
void PrintTo(const FillCase& c, std::ostream* os) { *os << c.name; }

class FillRectTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillRectTest, PaintsRectangleWithoutRightAndBottomEdges) {
  const FillCase& c = GetParam();
  PixelSurface surface(16, 12, kBackground);
  surface.GetCanvas().FillRect(c.rect, c.colour);
  EXPECT_EQ(Mismatches(surface,
                       [&](int x, int y) { return Inside(c.rect, x, y) ? c.drawn : kBackground; }),
            "");
}

INSTANTIATE_TEST_SUITE_P(
    Rects, FillRectTest,
    ::testing::Values(FillCase{"inner", {2, 3, 7, 9}, kInk, kInk},
                      FillCase{"one_pixel", {5, 5, 6, 6}, kInk, kInk},
                      FillCase{"whole_surface", {0, 0, 16, 12}, 0x00FFFFFF, 0x00FFFFFF},
                      FillCase{"empty", {4, 4, 4, 9}, kInk, kInk},
                      FillCase{"palette_byte_dropped", {1, 1, 3, 3}, 0x02123456, 0x00123456}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FillRect, WithColourLeavesCanvasBrush) {
  PixelSurface surface(10, 4, kBackground);
  Canvas& canvas = surface.GetCanvas();
  canvas.SetBrush({kInk, BrushStyle::kSolid});
  canvas.FillRect({0, 0, 5, 4}, 0x00112233);
  canvas.FillRect({5, 0, 10, 4});
  EXPECT_EQ(Mismatches(surface, [](int x, int) { return x < 5 ? 0x00112233 : kInk; }), "");
}

// ---- System colours ----

struct SystemCase {
  Colour value;
  int index;
};

void PrintTo(const SystemCase& c, std::ostream* os) { *os << std::hex << c.value; }

class SystemColourTest : public ::testing::TestWithParam<SystemCase> {};

TEST_P(SystemColourTest, DrawnAsCurrentSystemColour) {
  const SystemCase& c = GetParam();
  PixelSurface surface(8, 6, kBackground);
  Canvas& canvas = surface.GetCanvas();
  canvas.FillRect({0, 0, 4, 6}, c.value);
  canvas.SetPen({c.value, PenStyle::kSolid});
  const Point line[] = {{5, 0}, {5, 6}};
  canvas.Polyline(line);
  canvas.SetPixel({7, 2}, c.value);
  const Colour want = SysColour(c.index);
  EXPECT_EQ(surface.At(0, 0), want);
  EXPECT_EQ(surface.At(3, 5), want);
  EXPECT_EQ(surface.At(5, 3), want);
  EXPECT_EQ(surface.At(7, 2), want);
}

INSTANTIATE_TEST_SUITE_P(Indices, SystemColourTest,
                         ::testing::Values(SystemCase{0x8000000F, COLOR_BTNFACE},
                                           SystemCase{ui::kColourBtnFace, COLOR_BTNFACE},
                                           SystemCase{ui::kColourBtnShadow, COLOR_BTNSHADOW},
                                           SystemCase{ui::kColourBtnHighlight, COLOR_BTNHIGHLIGHT},
                                           SystemCase{ui::kColourWindow, COLOR_WINDOW},
                                           SystemCase{ui::kColourWindowText, COLOR_WINDOWTEXT}));

// ---- Polyline and pixels ----

using PixelSet = std::set<std::pair<int, int>>;

PixelSet Run(int x0, int y0, int x1, int y1) {  // inclusive, along one axis or 45 degrees
  PixelSet pixels;
  const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
  const int dx = (x1 > x0) - (x1 < x0);
  const int dy = (y1 > y0) - (y1 < y0);
  for (int i = 0; i <= steps; ++i) pixels.insert({x0 + i * dx, y0 + i * dy});
  return pixels;
}

PixelSet Union(std::initializer_list<PixelSet> sets) {
  PixelSet all;
  for (const PixelSet& s : sets) all.insert(s.begin(), s.end());
  return all;
}

struct PolylineCase {
  const char* name;
  std::vector<Point> points;
  PixelSet painted;
};
void PrintTo(const PolylineCase& c, std::ostream* os) { *os << c.name; }

class PolylineTest : public ::testing::TestWithParam<PolylineCase> {};

TEST_P(PolylineTest, PaintsEveryPointButTheLast) {
  const PolylineCase& c = GetParam();
  PixelSurface surface(14, 10, kBackground);
  Canvas& canvas = surface.GetCanvas();
  canvas.SetPen({kInk, PenStyle::kSolid});
  canvas.Polyline(c.points);
  EXPECT_EQ(Mismatches(surface,
                       [&](int x, int y) {
                         return c.painted.count({x, y}) ? kInk : kBackground;
                       }),
            "");
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, PolylineTest,
    ::testing::Values(
        PolylineCase{"horizontal", {{2, 3}, {9, 3}}, Run(2, 3, 8, 3)},
        PolylineCase{"leftward", {{9, 3}, {2, 3}}, Run(9, 3, 3, 3)},
        PolylineCase{"vertical", {{4, 1}, {4, 8}}, Run(4, 1, 4, 7)},
        PolylineCase{"diagonal", {{2, 2}, {7, 7}}, Run(2, 2, 6, 6)},
        PolylineCase{"corner", {{2, 2}, {8, 2}, {8, 7}}, Union({Run(2, 2, 8, 2), Run(8, 3, 8, 6)})},
        // Back to the start: the start pixel is painted by the first line.
        PolylineCase{"closed",
                     {{2, 2}, {6, 2}, {6, 5}, {2, 5}, {2, 2}},
                     Union({Run(2, 2, 6, 2), Run(6, 2, 6, 5), Run(2, 5, 6, 5), Run(2, 2, 2, 5)})},
        PolylineCase{"single_point", {{5, 5}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Polyline, DottedPenLeavesGapsInBackgroundMode) {
  struct Mode {
    ui::win32::BackgroundMode mode;
    Colour gap;
  };
  constexpr Colour kGapColour = 0x0000FF00;
  for (const Mode& m : {Mode{ui::win32::BackgroundMode::kTransparent, kBackground},
                        Mode{ui::win32::BackgroundMode::kOpaque, kGapColour}}) {
    PixelSurface surface(24, 3, kBackground);
    Canvas& canvas = surface.GetCanvas();
    canvas.SetBackgroundMode(m.mode);
    canvas.SetBackgroundColour(kGapColour);
    canvas.SetPen({kInk, PenStyle::kDotted});
    const Point line[] = {{0, 1}, {24, 1}};
    canvas.Polyline(line);
    int ink = 0;
    int gaps = 0;
    for (int x = 0; x < 24; ++x) {
      const Colour c = surface.At(x, 1);
      ink += c == kInk;
      gaps += c == m.gap;
    }
    EXPECT_EQ(surface.At(0, 1), kInk);
    EXPECT_GT(gaps, 0);
    EXPECT_EQ(ink + gaps, 24) << "every pixel of the line is dot or gap";
    EXPECT_EQ(
        Mismatches(surface, [&](int x, int y) { return y == 1 ? surface.At(x, y) : kBackground; }),
        "");
  }
}

TEST(SetPixel, PaintsOnePixel) {
  PixelSurface surface(5, 5, kBackground);
  surface.GetCanvas().SetPixel({3, 1}, kInk);
  EXPECT_EQ(Mismatches(surface, [](int x, int y) { return x == 3 && y == 1 ? kInk : kBackground; }),
            "");
}

// ---- Rectangle ----

struct RectangleCase {
  const char* name;
  ui::win32::Brush brush;
  Colour inside;
};
void PrintTo(const RectangleCase& c, std::ostream* os) { *os << c.name; }

class RectangleTest : public ::testing::TestWithParam<RectangleCase> {};

TEST_P(RectangleTest, OutlineEndsOnePixelInsideRightAndBottom) {
  const RectangleCase& c = GetParam();
  PixelSurface surface(14, 12, kBackground);
  Canvas& canvas = surface.GetCanvas();
  canvas.SetPen({kInk, PenStyle::kSolid});
  canvas.SetBrush(c.brush);
  const Rect r{2, 3, 9, 8};
  canvas.Rectangle(r);
  EXPECT_EQ(Mismatches(surface,
                       [&](int x, int y) {
                         if (!Inside(r, x, y)) return kBackground;
                         const bool edge = x == 2 || x == 8 || y == 3 || y == 7;
                         return edge ? kInk : c.inside;
                       }),
            "");
}

INSTANTIATE_TEST_SUITE_P(
    Brushes, RectangleTest,
    ::testing::Values(RectangleCase{"hollow", {0x000000FF, BrushStyle::kHollow}, kBackground},
                      RectangleCase{"solid", {0x000000FF, BrushStyle::kSolid}, 0x000000FF}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- DrawFocusRect ----

TEST(DrawFocusRect, InvertsDottedOutlineAndSecondCallRemovesIt) {
  constexpr Colour kFill = 0x00336699;
  constexpr Colour kInverted = 0x00CC9966;
  PixelSurface surface(16, 12, kFill);
  const Rect r{2, 2, 12, 9};
  surface.GetCanvas().DrawFocusRect(r);
  int inverted = 0;
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool outline = Inside(r, x, y) && (x == 2 || x == 11 || y == 2 || y == 8);
      const Colour c = surface.At(x, y);
      if (!outline) {
        EXPECT_EQ(c, kFill) << x << "," << y;
      } else {
        EXPECT_TRUE(c == kFill || c == kInverted) << x << "," << y;
        inverted += c == kInverted;
      }
    }
  }
  EXPECT_GT(inverted, 10);
  EXPECT_LT(inverted, 30) << "dotted, not solid";  // the outline has 30 pixels
  surface.GetCanvas().DrawFocusRect(r);
  EXPECT_EQ(Mismatches(surface, [](int, int) { return kFill; }), "");
}

// ---- BitBlt ----

struct BlitCase {
  const char* name;
  RasterOp op;
  Colour source;
  Colour destination;
  Colour result;
};
void PrintTo(const BlitCase& c, std::ostream* os) { *os << c.name; }

class BlitTest : public ::testing::TestWithParam<BlitCase> {};

TEST_P(BlitTest, CombinesSourceAndDestination) {
  const BlitCase& c = GetParam();
  PixelSurface surface(12, 10, c.destination);
  Bitmap bitmap = Bitmap::Compatible(surface.Handle(), 6, 6);
  {
    MemoryCanvas source(surface.Handle(), bitmap);
    source.FillRect({0, 0, 6, 6}, c.source);
    ASSERT_TRUE(surface.GetCanvas().BitBlt({3, 2}, {4, 5}, source, {1, 1}, c.op));
  }
  const Rect target{3, 2, 7, 7};
  EXPECT_EQ(
      Mismatches(surface,
                 [&](int x, int y) { return Inside(target, x, y) ? c.result : c.destination; }),
      "");
}

INSTANTIATE_TEST_SUITE_P(
    Ops, BlitTest,
    ::testing::Values(BlitCase{"copy", RasterOp::kSrcCopy, 0x00336699, 0x00FFFFFF, 0x00336699},
                      BlitCase{"not_copy", RasterOp::kNotSrcCopy, 0x00336699, 0x00FFFFFF,
                               0x00CC9966},
                      BlitCase{"and", RasterOp::kSrcAnd, 0x00F0F00F, 0x003C3C3C, 0x0030300C},
                      BlitCase{"paint", RasterOp::kSrcPaint, 0x00F0F00F, 0x003C3C3C, 0x00FCFC3F}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BitBlt, TakesSourceFromItsOrigin) {
  auto colourAt = [](int x, int y) {
    return static_cast<Colour>(0x00102030 + x * 0x10 + y * 0x1000);
  };
  std::vector<Colour> pixels;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) pixels.push_back(colourAt(x, y));
  Bitmap bitmap = MakeBitmap(6, 5, pixels);
  PixelSurface surface(12, 10, kBackground);
  {
    MemoryCanvas source(nullptr, bitmap);
    surface.GetCanvas().BitBlt({5, 4}, {3, 2}, source, {1, 2}, RasterOp::kSrcCopy);
  }
  EXPECT_EQ(Mismatches(surface,
                       [&](int x, int y) {
                         return Inside({5, 4, 8, 6}, x, y) ? colourAt(x - 4, y - 2) : kBackground;
                       }),
            "");
}

// ---- One-bit bitmaps ----

constexpr Colour kKey = 0x00FF00FF;

struct MonoCase {
  const char* name;
  Colour background;   // the colour that becomes set bits
  Colour keyResolved;  // what it draws as
};
void PrintTo(const MonoCase& c, std::ostream* os) { *os << c.name; }

class MonochromeTest : public ::testing::TestWithParam<MonoCase> {
 protected:
  // A 5 x 3 picture with the key colour on the diagonal-ish places below,
  // a near miss and other colours elsewhere.
  std::vector<Colour> Picture(Colour key) const {
    const Colour o = 0x00808080, n = key ^ 0x000001, w = 0x00FFFFFF;
    return {key, o,   n,   w,   key,  //
            o,   key, w,   key, n,    //
            w,   n,   key, o,   o};
  }
  bool IsKey(int x, int y) const { return Picture(0x123456)[y * 5 + x] == 0x123456; }
};

TEST_P(MonochromeTest, SetsBitsWhereSourceHasBackgroundColour) {
  const MonoCase& c = GetParam();
  Bitmap bitmap = MakeBitmap(5, 3, Picture(c.keyResolved));
  bitmap.ConvertToMonochrome(c.background);
  EXPECT_EQ(bitmap.BitsPerPixel(), 1);
  EXPECT_EQ(bitmap.Width(), 5);
  EXPECT_EQ(bitmap.Height(), 3);

  // Set bits come out as the background colour (white), clear ones as the
  // text colour (black) of a fresh device context.
  PixelSurface surface(5, 3, kBackground);
  {
    MemoryCanvas mask(nullptr, bitmap);
    surface.GetCanvas().BitBlt({0, 0}, {5, 3}, mask, {0, 0}, RasterOp::kSrcCopy);
  }
  EXPECT_EQ(
      Mismatches(surface, [&](int x, int y) { return IsKey(x, y) ? 0x00FFFFFF : 0x00000000; }), "");
}

TEST_P(MonochromeTest, MaskPaintsBrushWhereSet) {
  const MonoCase& c = GetParam();
  Bitmap bitmap = MakeBitmap(5, 3, Picture(c.keyResolved));
  bitmap.ConvertToMonochrome(c.background);
  constexpr Colour kBrush = 0x00123456;
  PixelSurface surface(8, 6, kBackground);
  Canvas& canvas = surface.GetCanvas();
  {
    MemoryCanvas mask(nullptr, bitmap);
    canvas.SetBrush({kBrush, BrushStyle::kSolid});
    canvas.SetTextColour(0x00000000);
    canvas.SetBackgroundColour(0x00FFFFFF);
    canvas.BitBlt({2, 1}, {5, 3}, mask, {0, 0}, RasterOp::kDSPDxax);
  }
  EXPECT_EQ(
      Mismatches(surface,
                 [&](int x, int y) {
                   return Inside({2, 1, 7, 4}, x, y) && IsKey(x - 2, y - 1) ? kBrush : kBackground;
                 }),
      "");
}

INSTANTIATE_TEST_SUITE_P(
    Backgrounds, MonochromeTest,
    ::testing::Values(MonoCase{"plain", kKey, kKey}, MonoCase{"black", 0x00000000, 0x00000000},
                      MonoCase{"system", ui::kColourBtnFace, SysColour(COLOR_BTNFACE)}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Bitmaps ----

TEST(Bitmap, CopyIsIndependent) {
  const std::vector<Colour> pixels = {0x00010203, 0x00040506, 0x00070809, 0x000A0B0C};
  Bitmap original = MakeBitmap(2, 2, pixels);
  Bitmap copy = original.Copy();
  EXPECT_NE(copy.Handle(), original.Handle());
  EXPECT_EQ(copy.BitsPerPixel(), 32);
  EXPECT_EQ(ReadPixels(copy), pixels);
  {
    MemoryCanvas canvas(nullptr, copy);
    canvas.FillRect({0, 0, 2, 2}, kInk);
  }
  EXPECT_EQ(ReadPixels(original), pixels);
}

TEST(Bitmap, EmptyWhenSizeIsNotPositive) {
  EXPECT_TRUE(Bitmap::Compatible(nullptr, 0, 5).Empty());
  EXPECT_TRUE(Bitmap::Monochrome(5, -1).Empty());
  const Bitmap compatible = Bitmap::Compatible(nullptr, 3, 2);
  EXPECT_EQ(compatible.Width(), 3);
  EXPECT_EQ(compatible.Height(), 2);
  EXPECT_EQ(Bitmap::Monochrome(4, 4).BitsPerPixel(), 1);
}

// ---- Save, restore, viewport, clip ----

TEST(SaveRestore, ViewportAndClipLastUntilRestore) {
  PixelSurface surface(20, 14, kBackground);
  Canvas& canvas = surface.GetCanvas();
  canvas.SetPen({0x000000FF, PenStyle::kSolid});
  const int saved = canvas.Save();
  canvas.SetViewportOrigin({10, 5});
  canvas.IntersectClip({0, 0, 4, 3});
  canvas.FillRect({-5, -5, 20, 20}, kInk);  // only the clip (10..13, 5..7) shows
  canvas.SetPen({0x0000FF00, PenStyle::kSolid});
  const Point inside[] = {{-10, -5}, {-10, -3}};  // device (0, 0) .. (0, 1): clipped away
  canvas.Polyline(inside);
  canvas.Restore(saved);
  // Origin and clip are back; the pen set after the save is still the pen.
  const Point after[] = {{0, 0}, {0, 2}};
  canvas.Polyline(after);
  EXPECT_EQ(Mismatches(surface,
                       [](int x, int y) {
                         if (x == 0 && y < 2) return Colour{0x0000FF00};
                         return Inside({10, 5, 14, 8}, x, y) ? kInk : kBackground;
                       }),
            "");
}

TEST(SaveRestore, ReturnsPreviousViewportOrigin) {
  PixelSurface surface(4, 4);
  Canvas& canvas = surface.GetCanvas();
  EXPECT_EQ(canvas.SetViewportOrigin({-3, 7}), (Point{0, 0}));
  EXPECT_EQ(canvas.SetViewportOrigin({0, 0}), (Point{-3, 7}));
}

TEST(Canvas, EndingSelectsTheOriginalObjectsBack) {
  PixelSurface surface(40, 20);
  HDC dc = surface.Handle();
  const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
  const HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  {
    Canvas canvas(dc);
    canvas.SetPen({kInk, PenStyle::kDotted});
    canvas.SetBrush({kInk, BrushStyle::kSolid});
    canvas.Rectangle({1, 1, 5, 5});
    ui::FontDescription bold;
    bold.bold = true;
    canvas.SetFont(bold);
    Rect r{0, 0, 40, 20};
    canvas.DrawText("Ab", r, ui::text_flags::kLeft);
    canvas.Save();  // left unrestored on purpose
    canvas.Rectangle({6, 1, 9, 5});
    EXPECT_NE(GetCurrentObject(dc, OBJ_PEN), pen);
  }
  RestoreDC(dc, -1);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
}

// ---- Text ----

struct InkBox {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive
  int count = 0;
};

InkBox FindInk(const PixelSurface& surface, Colour background) {
  InkBox box;
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) {
      if (surface.At(x, y) == background) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
      ++box.count;
    }
  }
  return box;
}

ui::FontDescription TestFont() {
  ui::FontDescription font;
  font.size = 12;
  font.colour = 0x00000080;
  return font;
}

struct AlignCase {
  const char* name;
  unsigned flags;
};
void PrintTo(const AlignCase& c, std::ostream* os) { *os << c.name; }

class DrawTextAlignTest : public ::testing::TestWithParam<AlignCase> {};

TEST_P(DrawTextAlignTest, PlacesTextInsideItsRectangle) {
  const AlignCase& c = GetParam();
  PixelSurface surface(160, 40, kBackground);
  Canvas& canvas = surface.GetCanvas();
  canvas.SetFont(TestFont());
  canvas.SetBackgroundMode(ui::win32::BackgroundMode::kTransparent);
  const Size extent = canvas.TextExtent("Wide text");
  Rect r{20, 5, 140, 35};
  canvas.DrawText("Wide text", r, c.flags);
  const InkBox ink = FindInk(surface, kBackground);
  ASSERT_GT(ink.count, 0);
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.right, 139);
  EXPECT_GE(ink.top, 5);
  EXPECT_LE(ink.bottom, 5 + extent.height);
  // Where the text cell starts, by the alignment; ink sits within the cell.
  const int cellLeft = c.flags & ui::text_flags::kCenter  ? 20 + (120 - extent.width) / 2
                       : c.flags & ui::text_flags::kRight ? 140 - extent.width
                                                          : 20;
  EXPECT_GE(ink.left, cellLeft - 1);
  EXPECT_LE(ink.right, cellLeft + extent.width);
  EXPECT_LE(ink.left, cellLeft + 3);
  EXPECT_GE(ink.right, cellLeft + extent.width - 4);
}

INSTANTIATE_TEST_SUITE_P(Flags, DrawTextAlignTest,
                         ::testing::Values(AlignCase{"left", ui::text_flags::kLeft},
                                           AlignCase{"center", ui::text_flags::kCenter},
                                           AlignCase{"right", ui::text_flags::kRight},
                                           // Right-to-left reading keeps the alignment asked for.
                                           AlignCase{"right_rtl", ui::text_flags::kRight |
                                                                      ui::text_flags::kRtlReading}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DrawText, InkIsTheFontColour) {
  for (Colour colour : {Colour{0x00000080}, Colour{ui::kColourWindowText}}) {
    PixelSurface surface(120, 30, 0x00FFFFFF);
    Canvas& canvas = surface.GetCanvas();
    ui::FontDescription font = TestFont();
    font.colour = colour;
    canvas.SetFont(font);
    canvas.SetBackgroundMode(ui::win32::BackgroundMode::kTransparent);
    canvas.SetTextColour(0x0000FF00);  // DrawText uses the font's colour instead
    Rect r{0, 0, 120, 30};
    canvas.DrawText("HHHH", r, ui::text_flags::kLeft);
    const Colour want = ui::win32::ToColorRef(colour);
    int exact = 0;
    for (Colour c : surface.Pixels()) exact += c == want;
    EXPECT_GT(exact, 20) << std::hex << colour;
  }
}

TEST(DrawText, OpaqueModePaintsTheCellBackground) {
  constexpr Colour kCell = 0x0000FFFF;
  for (auto mode : {ui::win32::BackgroundMode::kOpaque, ui::win32::BackgroundMode::kTransparent}) {
    PixelSurface surface(80, 30, kBackground);
    Canvas& canvas = surface.GetCanvas();
    canvas.SetFont(TestFont());
    canvas.SetBackgroundMode(mode);
    canvas.SetBackgroundColour(kCell);
    Rect r{0, 0, 80, 30};
    canvas.DrawText("ab", r, ui::text_flags::kLeft);
    const bool painted = surface.At(0, 0) == kCell;
    EXPECT_EQ(painted, mode == ui::win32::BackgroundMode::kOpaque);
  }
}

TEST(DrawText, CalcRectWrapsWords) {
  PixelSurface surface(10, 10);
  Canvas& canvas = surface.GetCanvas();
  canvas.SetFont(TestFont());
  const Size word = canvas.TextExtent("word");
  Rect r{0, 0, word.width + 2, 0};
  const int height =
      canvas.DrawText("word word word", r, ui::text_flags::kWordBreak | ui::text_flags::kCalcRect);
  EXPECT_EQ(height, 3 * word.height);
  EXPECT_EQ(r.bottom, 3 * word.height);
  EXPECT_LE(r.right, word.width + 2);
  EXPECT_EQ(Mismatches(surface, [](int, int) { return Colour{0x00FFFFFF}; }), "")
      << "measuring draws nothing";
}

TEST(TextExtent, FollowsTheFontDescription) {
  PixelSurface surface(10, 10);
  Canvas& canvas = surface.GetCanvas();
  ui::FontDescription font = TestFont();
  canvas.SetFont(font);
  const Size normal = canvas.TextExtent("Office");

  font.bold = true;
  canvas.SetFont(font);
  EXPECT_GT(canvas.TextExtent("Office").width, normal.width);

  font.bold = false;
  font.size = 24;
  canvas.SetFont(font);
  EXPECT_GT(canvas.TextExtent("Office").height, normal.height * 3 / 2);

  font.height = 20;  // a cell height wins over the size
  canvas.SetFont(font);
  EXPECT_EQ(canvas.TextExtent("Office").height, 20);
}

TEST(TextExtent, ReadsUtf8) {
  PixelSurface surface(10, 10);
  Canvas& canvas = surface.GetCanvas();
  canvas.SetFont(TestFont());
  const std::string text =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xCE\xA9";  // "Grüße Ω"
  const Size size = canvas.TextExtent(text);
  // The same text measured through the wide function on the canvas's font.
  SIZE wide{};
  GetTextExtentPoint32W(canvas.Handle(), L"Gr\u00FC\u00DFe \u03A9", 7, &wide);
  EXPECT_EQ(size.width, wide.cx);
  EXPECT_EQ(size.height, wide.cy);
}

}  // namespace
