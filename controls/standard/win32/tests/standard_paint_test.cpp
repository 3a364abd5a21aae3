// The label, image and panel painters on a DIB surface: the label's
// background, alignment, font styles, word wrap (and the height a wrapped
// label takes from the same measure), accelerator and greyed text; the
// image's picture in each file format; the panel's bevels and its caption.

#include "controls/standard/win32/standard_paint.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/standard/win32/tests/paint_check.h"
#include "ui/font_description.h"
#include "ui/form.h"
#include "ui/win32/application.h"
#include "ui/win32/testing/pixel_surface.h"
#include "ui/win32/win32_window_system.h"

namespace controls {
namespace {

using paint_check::Extent;
using paint_check::InkOf;
using paint_check::kUntouched;
using paint_check::Marks;
using paint_check::Others;
using paint_check::System;
using ui::Colour;
using ui::win32::testing::Mismatches;
using ui::win32::testing::PixelSurface;

constexpr Colour kText = 0x00912400;
constexpr Colour kBack = 0x00E0FFE0;  // neither white nor a grey of the system's

std::unique_ptr<TLabel> MakeLabel(const std::string& caption, int width, int height) {
  auto label = std::make_unique<TLabel>();
  label->SetAutoSize(false);
  label->SetBounds(0, 0, width, height);
  label->SetCaption(caption);
  label->SetColor(kBack);
  label->GetFont()->SetColor(kText);
  return label;
}

std::unique_ptr<PixelSurface> Painted(const TLabel& label) {
  auto surface = std::make_unique<PixelSurface>(label.Width(), label.Height(), kUntouched);
  PaintLabel(label, surface->GetCanvas());
  return surface;
}

// The longest horizontal run of pixels other than `background` in any row.
int LongestRun(const PixelSurface& surface, Colour background) {
  int longest = 0;
  for (int y = 0; y < surface.Height(); ++y) {
    int run = 0;
    for (int x = 0; x < surface.Width(); ++x) {
      run = surface.At(x, y) != background ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  return longest;
}

TEST(LabelPaint, ItsColourBehindTheTextUnlessTransparent) {
  auto label = MakeLabel("Quorvex", 80, 20);
  const auto opaque = Painted(*label);
  label->SetTransparent(true);
  const auto transparent = Painted(*label);
  // The same text in both; around it the label's colour, or what was
  // there before.
  EXPECT_FALSE(InkOf(*opaque, kText).Empty());
  EXPECT_EQ(InkOf(*opaque, kUntouched).count, 0);
  EXPECT_EQ(InkOf(*transparent, kBack).count, 0);
  EXPECT_GT(InkOf(*transparent, kUntouched).count, 80 * 20 / 2);
  EXPECT_EQ(Mismatches(*transparent,
                       [&](int x, int y) {
                         const Colour c = opaque->At(x, y);
                         return c == kBack ? kUntouched : c == kText ? kText : transparent->At(x, y);
                       }),
            "");
}

TEST(LabelPaint, AlignmentPlacesTheLineAcross) {
  constexpr int kWidth = 120;
  const ui::Size text = Extent(MakeLabel("", 1, 1)->FontOf(), "Mid");
  const struct {
    TAlignment alignment;
    int cellLeft;  // where the line's cell starts
  } kCases[] = {
      {TAlignment::taLeftJustify, 0},
      {TAlignment::taRightJustify, kWidth - text.width},
      {TAlignment::taCenter, (kWidth - text.width) / 2},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(AlignmentNames()[static_cast<int>(c.alignment)]);
    auto label = MakeLabel("Mid", kWidth, 20);
    label->SetAlignment(c.alignment);
    const auto ink = Marks(*Painted(*label), kBack);
    ASSERT_FALSE(ink.Empty());
    // Glyphs sit inside their cells, a pixel or two of bearing aside.
    EXPECT_GE(ink.box.left, c.cellLeft);
    EXPECT_LE(ink.box.left, c.cellLeft + 2);
    EXPECT_LE(ink.box.right, c.cellLeft + text.width);
    EXPECT_GE(ink.box.right, c.cellLeft + text.width - 2);
    EXPECT_LE(ink.box.bottom, text.height);
  }
}

TEST(LabelPaint, LayoutPlacesTheTextDownTheLabel) {
  constexpr int kHeight = 90;
  const ui::Font font;
  const int line = Extent(font, "Mid").height;
  // Two wrapped lines, so the block's own height is what is placed.
  const struct {
    TTextLayout layout;
    int blockTop;
  } kCases[] = {
      {TTextLayout::tlTop, 0},
      {TTextLayout::tlCenter, (kHeight - 2 * line) / 2},
      {TTextLayout::tlBottom, kHeight - 2 * line},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.layout));
    auto label = MakeLabel("Mid Mid", Extent(font, "Mid ").width + 2, kHeight);
    label->SetWordWrap(true);
    label->SetLayout(c.layout);
    const auto ink = Marks(*Painted(*label), kBack);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.box.top, c.blockTop);
    EXPECT_LE(ink.box.top, c.blockTop + line / 2);
    EXPECT_GT(ink.box.bottom, c.blockTop + line) << "the second line";
    EXPECT_LE(ink.box.bottom, c.blockTop + 2 * line);
  }
}

TEST(LabelPaint, BoldAndUnderlineComeFromTheFontStyle) {
  const std::string caption = "ab cd ef gh";
  const struct {
    std::uint32_t style;
    bool underline;
  } kCases[] = {
      {0, false},
      {ui::Font::kBold, false},
      {ui::Font::kUnderline, true},
      {ui::Font::kBold | ui::Font::kUnderline, true},
  };
  const int regularWidth = Extent(MakeLabel("", 1, 1)->FontOf(), caption).width;
  for (const auto& c : kCases) {
    SCOPED_TRACE("style " + std::to_string(c.style));
    auto label = MakeLabel(caption, 120, 20);
    label->GetFont()->SetStyle(c.style);
    const int width = Extent(label->FontOf(), caption).width;
    if (c.style & ui::Font::kBold) ASSERT_GE(width, regularWidth + 4) << "bold is wider";
    const auto surface = Painted(*label);
    // As long as the line is in this style's font ...
    const auto ink = Marks(*surface, kBack);
    EXPECT_LE(ink.box.right, width);
    EXPECT_GE(ink.box.right, width - 2);
    // ... and an underline runs under all of it, over the gaps too; the
    // letters alone make no run half as long.
    if (c.underline) {
      EXPECT_GE(LongestRun(*surface, kBack), width - 1);
    } else {
      EXPECT_LT(LongestRun(*surface, kBack), width / 2);
    }
  }
}

TEST(LabelPaint, WordWrapBreaksTheCaptionIntoLinesAsMeasured) {
  const std::string caption = "alpha beta gamma delta";
  constexpr int kWidth = 60;
  for (const bool wrap : {true, false}) {
    SCOPED_TRACE(wrap ? "wrapped" : "one line");
    auto label = MakeLabel(caption, kWidth, 90);
    label->SetWordWrap(wrap);
    const int lineHeight = Extent(label->FontOf(), "W").height;
    const auto ink = Marks(*Painted(*label), kBack);
    ASSERT_FALSE(ink.Empty());
    if (!wrap) {
      EXPECT_LE(ink.box.bottom, lineHeight);
      EXPECT_GE(ink.box.right, kWidth - 2) << "the line runs on past the edge";
      continue;
    }
    // The measure the label sizes itself by covers every line drawn, and
    // the last one it counts has text.
    const ui::Size block = MeasureWrappedLabelText(label->FontOf(), caption, kWidth);
    EXPECT_GE(block.height, 3 * lineHeight);
    EXPECT_EQ(block.height % lineHeight, 0);
    EXPECT_LE(block.width, kWidth);
    EXPECT_LE(ink.box.bottom, block.height);
    EXPECT_GT(ink.box.bottom, block.height - lineHeight);
    EXPECT_LE(ink.box.right, kWidth);
  }
}

TEST(LabelPaint, AWrappedLabelOnAFormTakesTheHeightOfItsLines) {
  ui::win32::Application application;
  ui::win32::Win32WindowSystem windows(application);
  RegisterStandardPainters(windows);
  ui::Form form(windows);
  TLabel& label = form.Adopt(std::make_unique<TLabel>());
  label.SetParent(&form);
  label.SetBounds(5, 5, 60, 10);
  label.SetWordWrap(true);
  label.SetCaption("alpha beta gamma delta");
  const int lineHeight = Extent(label.FontOf(), "W").height;
  EXPECT_EQ(label.Width(), 60);
  EXPECT_EQ(label.Height(),
            MeasureWrappedLabelText(label.FontOf(), label.Caption(), 60).height);
  EXPECT_GE(label.Height(), 3 * lineHeight);
}

TEST(LabelPaint, AnAmpersandUnderlinesTheNextLetter) {
  const auto plain = Painted(*MakeLabel("Save", 60, 20));
  const auto marked = Painted(*MakeLabel("&Save", 60, 20));
  const auto plainInk = Marks(*plain, kBack);
  const int letter = Extent(MakeLabel("", 1, 1)->FontOf(), "S").width;
  // The "&" itself takes no room: the two differ only in a line under "S".
  int differing = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 60; ++x) {
      if (plain->At(x, y) == marked->At(x, y)) continue;
      ++differing;
      EXPECT_EQ(marked->At(x, y), kText) << x << "," << y;
      EXPECT_LT(x, letter) << y;
      EXPECT_GE(y, plainInk.box.bottom - 1) << x;
    }
  }
  EXPECT_GE(differing, letter - 2);
}

TEST(LabelPaint, ADisabledLabelIsEngravedInTheButtonColours) {
  const Colour highlight = System(COLOR_BTNHIGHLIGHT);
  const Colour shadow = System(COLOR_BTNSHADOW);
  ASSERT_NE(highlight, shadow);
  for (const bool wrap : {false, true}) {
    SCOPED_TRACE(wrap ? "wrapped" : "one line");
    auto label = MakeLabel("Off line", 40, 40);
    label->SetWordWrap(wrap);
    const auto enabled = Painted(*label);
    label->SetEnabled(false);
    const auto disabled = Painted(*label);
    EXPECT_EQ(InkOf(*disabled, kText).count, 0);
    // Where the enabled text covers a pixel fully, the shadow copy does;
    // where it covers the pixel one up and left fully and this one not at
    // all, the highlight shows; where neither touches, the label's colour.
    // Smoothed edges in between blend and are not looked at.
    auto at = [&](int x, int y) { return x < 0 || y < 0 ? kBack : enabled->At(x, y); };
    int shadows = 0;
    int highlights = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        const Colour here = at(x, y);
        const Colour before = at(x - 1, y - 1);
        const Colour got = disabled->At(x, y);
        if (here == kText) {
          ++shadows;
          EXPECT_EQ(got, shadow) << x << "," << y;
        } else if (here == kBack && before == kText) {
          ++highlights;
          EXPECT_EQ(got, highlight) << x << "," << y;
        } else if (here == kBack && before == kBack) {
          EXPECT_EQ(got, kBack) << x << "," << y;
        }
      }
    }
    EXPECT_GT(shadows, 10);
    EXPECT_GT(highlights, 5);
  }
}

TEST(ImagePaint, ThePictureAtTheTopLeftUnstretched) {
  const std::vector<Colour> colours = {0x00102030, 0x00405060, 0x00708090,
                                       0x000000FF, 0x0000FF00, 0x00FF0000};
  const struct {
    const char* name;
    ui::Bitmap picture;
    std::vector<Colour> pixels;
  } kCases[] = {
      {"24 bits", paint_check::Picture(3, 2, 24, {}, {colours.begin(), colours.end()}), colours},
      {"8-bit palette", paint_check::Picture(3, 2, 8, colours, {5, 4, 3, 2, 1, 0}),
       {colours.rbegin(), colours.rend()}},
      // Two colours that are not black and white: the palette, not the
      // canvas's text colours, decides.
      {"1-bit palette", paint_check::Picture(3, 2, 1, {0x00336699, 0x0099CC33}, {0, 1, 1, 1, 0, 0}),
       {0x00336699, 0x0099CC33, 0x0099CC33, 0x0099CC33, 0x00336699, 0x00336699}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    TImage image;
    image.SetBounds(0, 0, 6, 5);
    image.SetPicture(c.picture);
    PixelSurface surface(6, 5, kUntouched);
    PaintImage(image, surface.GetCanvas());
    EXPECT_EQ(Mismatches(surface,
                         [&](int x, int y) {
                           return x < 3 && y < 2 ? c.pixels[static_cast<std::size_t>(y * 3 + x)]
                                                 : kUntouched;
                         }),
              "");
  }
}

TEST(ImagePaint, NoPictureNoPaint) {
  TImage image;
  image.SetBounds(0, 0, 6, 5);
  PixelSurface surface(6, 5, kUntouched);
  PaintImage(image, surface.GetCanvas());
  EXPECT_EQ(Others(surface, {kUntouched}), "");
}

std::unique_ptr<TPanel> MakePanel(int width, int height) {
  auto panel = std::make_unique<TPanel>();
  panel->SetBounds(0, 0, width, height);
  panel->SetColor(kBack);
  panel->GetFont()->SetColor(kText);
  return panel;
}

TEST(PanelPaint, BevelsRingsRaisedAndLowered) {
  using B = TPanelBevel;
  // H: button highlight, S: button shadow, C: the panel's colour. A 40 x 30
  // panel; each ring's top-right and bottom-left corners go with its bottom
  // and right sides.
  const struct {
    const char* name;
    B outer, inner;
    int width;
    std::vector<std::pair<ui::Point, char>> points;
  } kCases[] = {
      {"raised outer", B::bvRaised, B::bvNone, 1,
       {{{0, 0}, 'H'}, {{38, 0}, 'H'}, {{39, 0}, 'S'}, {{0, 28}, 'H'}, {{0, 29}, 'S'},
        {{39, 29}, 'S'}, {{20, 0}, 'H'}, {{0, 15}, 'H'}, {{39, 15}, 'S'}, {{20, 29}, 'S'},
        {{1, 1}, 'C'}, {{38, 28}, 'C'}}},
      {"lowered outer, raised inner", B::bvLowered, B::bvRaised, 1,
       {{{0, 0}, 'S'}, {{38, 0}, 'S'}, {{39, 0}, 'H'}, {{0, 29}, 'H'}, {{39, 15}, 'H'},
        {{20, 29}, 'H'}, {{1, 1}, 'H'}, {{37, 1}, 'H'}, {{38, 1}, 'S'}, {{1, 27}, 'H'},
        {{1, 28}, 'S'}, {{38, 15}, 'S'}, {{20, 28}, 'S'}, {{2, 2}, 'C'}, {{37, 27}, 'C'}}},
      {"raised outer, lowered inner, width 2", B::bvRaised, B::bvLowered, 2,
       {{{0, 0}, 'H'},   {{1, 1}, 'H'},   {{1, 15}, 'H'},  {{20, 1}, 'H'},  {{38, 15}, 'S'},
        {{39, 15}, 'S'}, {{20, 28}, 'S'}, {{20, 29}, 'S'}, {{2, 15}, 'S'},  {{3, 15}, 'S'},
        {{20, 2}, 'S'},  {{20, 3}, 'S'},  {{36, 15}, 'H'}, {{37, 15}, 'H'}, {{20, 26}, 'H'},
        {{20, 27}, 'H'}, {{37, 2}, 'H'},  {{2, 27}, 'H'},  {{4, 4}, 'C'},   {{35, 25}, 'C'},
        {{4, 15}, 'C'},  {{35, 15}, 'C'}}},
      // A space bevel leaves the inner one at the edge.
      {"space outer, raised inner, width 2", B::bvSpace, B::bvRaised, 2,
       {{{0, 0}, 'H'}, {{1, 1}, 'H'}, {{0, 29}, 'S'}, {{38, 15}, 'S'}, {{39, 15}, 'S'},
        {{2, 2}, 'C'}, {{37, 27}, 'C'}}},
      {"none", B::bvNone, B::bvNone, 3, {{{0, 0}, 'C'}, {{39, 29}, 'C'}, {{2, 2}, 'C'}}},
  };
  const Colour highlight = System(COLOR_BTNHIGHLIGHT);
  const Colour shadow = System(COLOR_BTNSHADOW);
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    auto panel = MakePanel(40, 30);
    panel->SetBevelOuter(c.outer);
    panel->SetBevelInner(c.inner);
    panel->SetBevelWidth(c.width);
    PixelSurface surface(40, 30, kUntouched);
    PaintPanel(*panel, surface.GetCanvas());
    for (const auto& [at, name] : c.points) {
      const Colour want = name == 'H' ? highlight : name == 'S' ? shadow : kBack;
      EXPECT_EQ(surface.At(at.x, at.y), want) << at.x << "," << at.y << " " << name;
    }
    EXPECT_EQ(Others(surface, {highlight, shadow, kBack}), "");
  }
}

TEST(PanelPaint, TheCaptionCentredInsideTheBevels) {
  const struct {
    TAlignment alignment;
    TPanelBevel bevel;  // outer and inner, width 2
    std::uint32_t style;
  } kCases[] = {
      {TAlignment::taCenter, TPanelBevel::bvNone, 0},
      {TAlignment::taCenter, TPanelBevel::bvRaised, ui::Font::kBold},
      {TAlignment::taLeftJustify, TPanelBevel::bvLowered, 0},
      {TAlignment::taRightJustify, TPanelBevel::bvRaised, ui::Font::kUnderline},
      {TAlignment::taCenter, TPanelBevel::bvSpace, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(AlignmentNames()[static_cast<int>(c.alignment)] + " bevel " +
                 std::to_string(static_cast<int>(c.bevel)));
    auto panel = MakePanel(120, 41);
    panel->SetCaption("Panel");
    panel->SetAlignment(c.alignment);
    panel->SetBevelOuter(c.bevel);
    panel->SetBevelInner(c.bevel);
    panel->SetBevelWidth(2);
    panel->GetFont()->SetStyle(c.style);
    PixelSurface surface(120, 41, kUntouched);
    PaintPanel(*panel, surface.GetCanvas());

    // GDI's own single-line centring in the area the bevels leave.
    const int inset = panel->BevelInset();
    const int width = 120 - 2 * inset;
    const int height = 41 - 2 * inset;
    PixelSurface expected(width, height, kBack);
    expected.GetCanvas().SetFont(ui::Describe(panel->FontOf()));
    expected.GetCanvas().SetBackgroundMode(ui::win32::BackgroundMode::kTransparent);
    ui::Rect area{0, 0, width, height};
    const unsigned across = c.alignment == TAlignment::taCenter       ? DT_CENTER
                            : c.alignment == TAlignment::taRightJustify ? DT_RIGHT
                                                                        : DT_LEFT;
    expected.GetCanvas().DrawText("Panel", area, DT_SINGLELINE | DT_VCENTER | across);
    ASSERT_FALSE(InkOf(expected, kText).Empty());
    std::string differences;
    for (int y = 0; y < height && differences.size() < 200; ++y) {
      for (int x = 0; x < width; ++x) {
        if (surface.At(x + inset, y + inset) != expected.At(x, y)) {
          differences += std::to_string(x + inset) + "," + std::to_string(y + inset) + " ";
        }
      }
    }
    EXPECT_EQ(differences, "");
  }
}

}  // namespace
}  // namespace controls
