// The flat button's whole paint, read back pixel by pixel under Wine:
// background, focus marks, caption, glyph and frame, each compared with a
// picture composed at the coordinates the button's geometry names.

#include "controls/offbtn/win32/offbtn_paint.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "controls/offbtn/win32/tests/paint_fixture.h"
#include "ui/text_flags.h"

namespace {

using controls::FrameColoursOf;
using controls::TOffBtnState;
using controls::TOffBtnType;
using controls::TOffice97Button;
using offbtn_test::Differences;
using offbtn_test::Expected;
using offbtn_test::GlyphPixels;
using offbtn_test::Image;
using offbtn_test::Look;
using offbtn_test::Paint;
using ui::Colour;
using ui::FontDescription;
using ui::Point;
using ui::Rect;
using ui::text_flags::kCenter;
using ui::text_flags::kLeft;

constexpr Colour kBlack = 0x00000000;
constexpr Colour kWhite = 0x00FFFFFF;
constexpr Colour kRed = 0x000000FF;
constexpr Colour kTextBlue = 0x00912400;
constexpr Colour kHoverRed = 0x000000C0;

int Half(int x) { return x / 2; }

// A caption of the push button without a glyph sits in the middle.
Rect Centred(const TOffice97Button& button, ui::Size text) {
  const int left = Half(button.Width() - text.width - 1) + 1;
  const int top = Half(button.Height() - text.height - 1) + 1;
  return {left, top, left + text.width, top + text.height};
}

Rect Moved(const Rect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// An 8 x 6 picture: black at the bottom-left and in a diagonal, red,
// white, and a colour next to black that must not count as black.
GlyphPixels TestGlyph() {
  constexpr Colour K = kBlack, R = kRed, W = kWhite, G = 0x00336699, N = 0x00010101;
  return {8, 6, {
      K, G, G, G, G, G, G, W,  //
      G, K, R, R, G, G, W, G,  //
      G, G, K, R, G, W, G, G,  //
      N, G, G, K, W, G, G, N,  //
      G, G, G, W, K, G, G, G,  //
      K, G, W, G, G, K, K, R,  //
  }};
}

// TestGlyph with a bottom-left pixel that is not black.
GlyphPixels EmbossSource() {
  GlyphPixels glyph = TestGlyph();
  glyph.pixels[5 * 8] = 0x00336699;
  return glyph;
}

ui::Bitmap PictureOf(const GlyphPixels& glyph) {
  return offbtn_test::Picture(glyph.width, glyph.height, glyph.pixels);
}

class PaintTest : public ::testing::Test, public offbtn_test::ButtonFixture {};

// ---- Background and frame ----

// A new button at rest: its colour and the thin Office 2000 outline in
// InactiveColor through the eight corner points, and nothing painted
// beyond its own rectangle.
TEST_F(PaintTest, NewButtonAtRestIsItsColourInsideTheThinOutline) {
  TOffice97Button& button = AddButton(70, 23);
  ui::win32::testing::PixelSurface surface(80, 30, 0x00FE01FE);
  controls::PaintOffice97Button(button, surface.GetCanvas(), nullptr);

  std::set<std::pair<int, int>> outline;
  for (const Point p : offbtn_test::PolylinePixels(
           {{3, 1}, {1, 3}, {1, 19}, {3, 21}, {66, 21}, {68, 19}, {68, 3}, {66, 1}, {3, 1}})) {
    outline.insert({p.x, p.y});
  }
  EXPECT_EQ(ui::win32::testing::Mismatches(surface,
                                           [&](int x, int y) -> Colour {
                                             if (x >= 70 || y >= 23) return 0x00FE01FE;
                                             if (outline.count({x, y})) return 0x00C0C0C0;
                                             return 0x00CCFFFF;
                                           }),
            "");
}

struct FrameCase {
  std::string name;
  TOffBtnType kind;
  Look look;
  // The moves that bring the button into its state.
  std::function<void(offbtn_test::ButtonFixture&, TOffice97Button&)> moves;
  TOffBtnState state;
};
void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

class PaintFrameTest : public PaintTest, public ::testing::WithParamInterface<FrameCase> {};

// The push button shows the frame of its look and state in its frame
// colours; the small-glyph kinds have none.
TEST_P(PaintFrameTest, FrameOfLookAndStateOnlyForThePushButton) {
  const FrameCase& c = GetParam();
  TOffice97Button& button = AddButton(70, 23);
  button.SetControlType(c.kind);
  button.SetOffice2000Look(c.look == Look::kOffice2000);
  button.SetShowGlyph(false);
  button.SetColor(0x00F0E0D0);
  button.SetInactiveColor(0x00A0A0A0);
  button.SetActiveColor(0x00104080);
  button.SetActiveOutlineColor(0x00F8F8F8);
  button.SetActiveOutlineColor2(ui::kColourBtnShadow);
  c.moves(*this, button);
  // A press takes the focus; with it elsewhere no focus mark is drawn.
  SetFocusedControl(&OtherFlatButton());
  ASSERT_EQ(button.State(), c.state);

  Expected expected(70, 23, 0x00F0E0D0);
  if (c.kind == TOffBtnType::bsButton) expected.Frame(c.look, c.state, FrameColoursOf(button));
  EXPECT_EQ(Differences(Paint(button), expected.Get()), "");
}

std::vector<FrameCase> FrameCases() {
  using F = offbtn_test::ButtonFixture;
  const std::pair<const char*, std::pair<TOffBtnState,
                                         std::function<void(F&, TOffice97Button&)>>> moves[] = {
      {"at_rest", {TOffBtnState::bsInactive, [](F&, TOffice97Button&) {}}},
      {"hovered", {TOffBtnState::bsActive, [](F& f, TOffice97Button& b) { f.Hover(b); }}},
      {"pressed", {TOffBtnState::bsDown, [](F& f, TOffice97Button& b) { f.Press(b); }}},
      {"pressed_pointer_off",
       {TOffBtnState::bsDownAndOut, [](F& f, TOffice97Button& b) {
          f.Press(b);
          f.PointerOff(b);
        }}},
  };
  std::vector<FrameCase> cases;
  for (Look look : {Look::kOffice97, Look::kOffice2000}) {
    for (const auto& [name, move] : moves) {
      const std::string lookName = look == Look::kOffice97 ? "Office97_" : "Office2000_";
      cases.push_back({lookName + "bsButton_" + name, TOffBtnType::bsButton, look, move.second,
                       move.first});
    }
  }
  const std::pair<const char*, TOffBtnType> smallKinds[] = {
      {"bsRadioButton", TOffBtnType::bsRadioButton},
      {"bsUpButton", TOffBtnType::bsUpButton},
      {"bsDownButton", TOffBtnType::bsDownButton},
      {"bsHintButton", TOffBtnType::bsHintButton}};
  for (const auto& [kindName, kind] : smallKinds) {
    for (const auto& [name, move] : moves) {
      cases.push_back({std::string("Office97_") + kindName + "_" + name, kind, Look::kOffice97,
                       move.second, move.first});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(KindsLooksStates, PaintFrameTest, ::testing::ValuesIn(FrameCases()),
                         [](const auto& info) { return info.param.name; });

// A transparent button shows what the host paints behind it, under its
// frame; the host is asked once, about this button.
TEST_F(PaintTest, TransparentButtonShowsTheParentImage) {
  TOffice97Button& button = AddButton(70, 23);
  button.SetTransparent(true);
  auto stripe = [](int x, int y) -> Colour { return ((x / 3 + y) % 2) ? 0x00203040 : 0x00C08040; };
  int asked = 0;
  const Image painted = Paint(button, [&](const TOffice97Button& b, ui::win32::Canvas& work) {
    ++asked;
    EXPECT_EQ(&b, &button);
    for (int y = 0; y < 23; ++y) {
      for (int x = 0; x < 70; ++x) work.SetPixel({x, y}, stripe(x, y));
    }
  });
  EXPECT_EQ(asked, 1);

  Expected expected(70, 23, 0);
  for (int y = 0; y < 23; ++y) {
    for (int x = 0; x < 70; ++x) expected.canvas().SetPixel({x, y}, stripe(x, y));
  }
  expected.Frame(Look::kOffice2000, TOffBtnState::bsInactive, FrameColoursOf(button));
  EXPECT_EQ(Differences(painted, expected.Get()), "");
}

// ---- Caption ----

struct FontCase {
  std::string name;
  bool isDefault;
  bool hover;
  bool disabled;  // after hovering
  // The caption's font, from the button's Font and HoverFont.
  std::function<FontDescription(TOffice97Button&)> font;
  TOffBtnState state;
};
void PrintTo(const FontCase& c, std::ostream* os) { *os << c.name; }

class CaptionFontTest : public PaintTest, public ::testing::WithParamInterface<FontCase> {};

// The caption of a push button, centred: the hover font while an enabled
// button is hovered, else Font; InactiveColor when disabled; bold for the
// default button.
TEST_P(CaptionFontTest, CaptionInTheFontOfStateDefaultAndEnabled) {
  const FontCase& c = GetParam();
  TOffice97Button& button = AddButton(100, 30, "Check now");
  button.GetFont()->SetColor(kTextBlue);
  button.HoverFont()->SetColor(kHoverRed);
  button.HoverFont()->SetSize(10);
  button.HoverFont()->SetStyle(ui::Font::kItalic);
  button.SetInactiveColor(0x00909090);
  button.SetDefault(c.isDefault);
  if (c.hover) Hover(button);
  if (c.disabled) button.SetEnabled(false);
  ASSERT_EQ(button.State(), c.state);

  const FontDescription font = c.font(button);
  Expected expected(100, 30, button.Color());
  expected.Text(font, "Check now", Centred(button, expected.Extent(font, "Check now")), kCenter);
  expected.Frame(Look::kOffice2000, c.state, FrameColoursOf(button));
  EXPECT_EQ(Differences(Paint(button), expected.Get()), "");

  // The case is only worth its name when its font shows differently.
  if (c.name != "at_rest") {
    const FontDescription plain = ui::Describe(button.FontOf());
    Expected withPlainFont(100, 30, button.Color());
    withPlainFont.Text(plain, "Check now", Centred(button, withPlainFont.Extent(plain, "Check now")),
                       kCenter);
    withPlainFont.Frame(Look::kOffice2000, c.state, FrameColoursOf(button));
    EXPECT_NE(Differences(withPlainFont.Get(), expected.Get()), "");
  }
}

FontDescription Normal(TOffice97Button& b) { return ui::Describe(b.FontOf()); }
FontDescription Hovering(TOffice97Button& b) { return ui::Describe(*b.HoverFont()); }
FontDescription Bold(FontDescription f) {
  f.bold = true;
  return f;
}
FontDescription Greyed(TOffice97Button& b, FontDescription f) {
  f.colour = b.InactiveColor();
  return f;
}

INSTANTIATE_TEST_SUITE_P(
    States, CaptionFontTest,
    ::testing::Values(
        FontCase{"at_rest", false, false, false, Normal, TOffBtnState::bsInactive},
        FontCase{"hovered_hover_font", false, true, false, Hovering, TOffBtnState::bsActive},
        FontCase{"default_bold", true, false, false, [](TOffice97Button& b) { return Bold(Normal(b)); },
                 TOffBtnState::bsInactive},
        FontCase{"default_hovered_bold_hover_font", true, true, false,
                 [](TOffice97Button& b) { return Bold(Hovering(b)); }, TOffBtnState::bsActive},
        // Not the hover font, though hovered: a disabled button's caption
        // is its Font in InactiveColor.
        FontCase{"disabled_hovered_inactive_colour", false, true, true,
                 [](TOffice97Button& b) { return Greyed(b, Normal(b)); }, TOffBtnState::bsActive},
        FontCase{"disabled_default_bold_inactive_colour", true, false, true,
                 [](TOffice97Button& b) { return Greyed(b, Bold(Normal(b))); },
                 TOffBtnState::bsInactive}),
    [](const auto& info) { return info.param.name; });

// Three wrapped lines on a push button: centred in the wrap width, one
// "0"-height apart from the caption rectangle's top, the rectangle
// centred in the button.
TEST_F(PaintTest, ThreeLineCaptionCentredLineByLine) {
  TOffice97Button& button = AddButton(70, 50, "Remove selected files");
  const int wrapWidth = 70 - 13;
  const FontDescription font = Normal(button);
  Expected expected(70, 50, button.Color());
  // Each word fits with the space after it, two words do not: every line
  // ends at a space.
  for (const char* fits : {"Remove ", "selected ", "files"}) {
    ASSERT_LE(expected.Extent(font, fits).width, wrapWidth) << fits;
  }
  for (const char* tooWide : {"Remove selected", "selected files"}) {
    ASSERT_GT(expected.Extent(font, tooWide).width, wrapWidth) << tooWide;
  }
  const int h0 = expected.Extent(font, "0").height;
  const Rect caption = Centred(button, {wrapWidth, 3 * h0});
  const char* lines[] = {"Remove", "selected", "files"};
  for (int i = 0; i < 3; ++i) {
    const int top = caption.top + i * h0;
    expected.Text(font, lines[i], {caption.left, top, caption.left + wrapWidth, top + h0}, kCenter);
  }
  expected.Frame(Look::kOffice2000, TOffBtnState::bsInactive, FrameColoursOf(button));
  EXPECT_EQ(Differences(Paint(button), expected.Get()), "");
}

// ---- Glyph ----

struct TransparencyCase {
  std::string name;
  bool autoTransparency;
  Colour transparentColor;
  Colour transparentRgb;  // what is left out
};
void PrintTo(const TransparencyCase& c, std::ostream* os) { *os << c.name; }

class GlyphTransparencyTest : public PaintTest,
                              public ::testing::WithParamInterface<TransparencyCase> {};

// The glyph at the left of a push button, without its pixels of the
// transparent colour: the bottom-left pixel's with AutoTransparency.
TEST_P(GlyphTransparencyTest, PixelsOfTheTransparentColourShowTheBackground) {
  const TransparencyCase& c = GetParam();
  TOffice97Button& button = AddButton(100, 40);
  button.SetUseCustomGlyphs(true);
  button.SetInactiveGlyph(PictureOf(TestGlyph()));
  button.SetShowGlyph(true);
  button.SetAutoTransparency(c.autoTransparency);
  button.SetTransparentColor(c.transparentColor);

  Expected expected(100, 40, button.Color());
  expected.Glyph(TestGlyph(), 6, Half(40 - 6 - 1) + 1, c.transparentRgb);
  expected.Frame(Look::kOffice2000, TOffBtnState::bsInactive, FrameColoursOf(button));
  EXPECT_EQ(Differences(Paint(button), expected.Get()), "");
}

INSTANTIATE_TEST_SUITE_P(
    Colours, GlyphTransparencyTest,
    ::testing::Values(
        // TransparentColor is ignored: the bottom-left pixel is black.
        TransparencyCase{"bottom_left_black", true, kRed, kBlack},
        TransparencyCase{"transparent_colour_red", false, kRed, kRed},
        TransparencyCase{"transparent_system_colour", false, ui::kColourWindow,
                         static_cast<Colour>(GetSysColor(COLOR_WINDOW))}),
    [](const auto& info) { return info.param.name; });

// A built-in 8-bit palette glyph of a small-glyph kind, drawn at its place
// without its bottom-left colour.
TEST_F(PaintTest, StockPaletteGlyphWithoutItsBottomLeftColour) {
  TOffice97Button& button = AddButton(100, 30);
  button.SetControlType(TOffBtnType::bsRadioButton);
  ASSERT_TRUE(button.ShowGlyph());
  const GlyphPixels glyph = offbtn_test::StockGlyph(button.StockGlyphNames()[3]);  // inactive
  ASSERT_EQ(glyph.width, 16);

  Expected expected(100, 30, button.Color());
  const int d = expected.Extent(Normal(button), "").height - glyph.height;
  expected.Glyph(glyph, 2, d < 2 ? 2 : Half(d) + 2,
                 glyph.pixels[static_cast<std::size_t>((glyph.height - 1) * glyph.width)]);
  EXPECT_EQ(Differences(Paint(button), expected.Get()), "");
}

struct EmbossCase {
  std::string name;
  bool autoTransparency;
};
void PrintTo(const EmbossCase& c, std::ostream* os) { *os << c.name; }

class EmbossTest : public PaintTest, public ::testing::WithParamInterface<EmbossCase> {};

// A disabled button with only InactiveGlyph shows that glyph embossed:
// its black pixels as a shadow line over a highlight one pixel right and
// down, on the button face. The face is the emboss's bottom-left colour,
// so automatic transparency lets the background through there.
TEST_P(EmbossTest, DisabledButtonEmbossesTheInactiveGlyphsBlackPixels) {
  const EmbossCase& c = GetParam();
  TOffice97Button& button = AddButton(100, 40, "");
  button.SetUseCustomGlyphs(true);
  button.SetInactiveGlyph(PictureOf(EmbossSource()));
  button.SetShowGlyph(true);
  button.SetAutoTransparency(c.autoTransparency);
  button.SetTransparentColor(kBlack);  // not in the emboss
  button.SetEnabled(false);

  const GlyphPixels source = EmbossSource();
  auto black = [&](int x, int y) {
    return x >= 0 && y >= 0 && source.pixels[static_cast<std::size_t>(y * 8 + x)] == kBlack;
  };
  GlyphPixels emboss{8, 6, {}};
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      emboss.pixels.push_back(black(x, y)           ? GetSysColor(COLOR_BTNSHADOW)
                              : black(x - 1, y - 1) ? GetSysColor(COLOR_BTNHIGHLIGHT)
                                                    : GetSysColor(COLOR_BTNFACE));
    }
  }
  ASSERT_EQ(emboss.pixels[5 * 8], static_cast<Colour>(GetSysColor(COLOR_BTNFACE)));
  Expected expected(100, 40, button.Color());
  expected.Glyph(emboss, 6, Half(40 - 6 - 1) + 1,
                 c.autoTransparency ? std::optional<Colour>(emboss.pixels[5 * 8]) : std::nullopt);
  expected.Frame(Look::kOffice2000, TOffBtnState::bsInactive, FrameColoursOf(button));
  EXPECT_EQ(Differences(Paint(button), expected.Get()), "");
}

INSTANTIATE_TEST_SUITE_P(Transparency, EmbossTest,
                         ::testing::Values(EmbossCase{"automatic", true},
                                           EmbossCase{"fixed_black", false}),
                         [](const auto& info) { return info.param.name; });

// ---- Pressed ----

struct PressCase {
  std::string name;
  TOffBtnType kind;
  int shift;
};
void PrintTo(const PressCase& c, std::ostream* os) { *os << c.name; }

class PressedTest : public PaintTest, public ::testing::WithParamInterface<PressCase> {};

// Hovered and pressed show the same glyph and font; pressed, the push
// button's caption and glyph sit one pixel right and down, the small
// kinds' do not move.
TEST_P(PressedTest, CaptionAndGlyphMoveOnlyOnThePushButton) {
  const PressCase& c = GetParam();
  TOffice97Button& button = AddButton(100, 40, "Go on");
  button.SetControlType(c.kind);
  button.SetUseCustomGlyphs(true);
  button.SetInactiveGlyph(PictureOf(TestGlyph()));
  button.SetShowGlyph(true);
  Hover(button);
  const Image hovered = Paint(button);
  Press(button);
  SetFocusedControl(&OtherFlatButton());  // no focus mark
  ASSERT_EQ(button.State(), TOffBtnState::bsDown);
  const Image pressed = Paint(button);

  // Inside the frame's reach (four pixels from every edge).
  int content = 0;
  for (int y = 5; y < 40 - 4; ++y) {
    for (int x = 5; x < 100 - 4; ++x) {
      ASSERT_EQ(pressed.At(x, y), hovered.At(x - c.shift, y - c.shift)) << x << "," << y;
      content += pressed.At(x, y) != button.Color();
    }
  }
  EXPECT_GT(content, 20) << "caption and glyph are there to move";
}

INSTANTIATE_TEST_SUITE_P(Kinds, PressedTest,
                         ::testing::Values(PressCase{"bsButton", TOffBtnType::bsButton, 1},
                                           PressCase{"bsRadioButton", TOffBtnType::bsRadioButton, 0}),
                         [](const auto& info) { return info.param.name; });

// ---- Focus marks ----

struct FocusCase {
  std::string name;
  std::function<void(PaintTest&, TOffice97Button&)> moves;
  bool mark;
};
void PrintTo(const FocusCase& c, std::ostream* os) { *os << c.name; }

class FocusMarkTest : public PaintTest, public ::testing::WithParamInterface<FocusCase> {
 public:
  ui::WinControl plainControl_;
};

// The push button's mark: the focus rectangle around the caption, one
// pixel wider and higher, under the caption. It shows while the button is
// key-active and either focused or the focus is on a control that is not a
// flat button (or on none).
TEST_P(FocusMarkTest, FocusRectangleAroundTheCaptionWhenKeyActive) {
  const FocusCase& c = GetParam();
  TOffice97Button& button = AddButton(100, 30, "Check now");
  button.HoverFont()->SetColor(kHoverRed);
  plainControl_.SetParent(&form_);
  c.moves(*this, button);
  ASSERT_EQ(button.State(), TOffBtnState::bsActive);

  const FontDescription font = Hovering(button);
  Expected expected(100, 30, button.Color());
  const Rect caption = Centred(button, expected.Extent(font, "Check now"));
  if (c.mark) {
    expected.FocusRect({caption.left, caption.top, caption.right + 1, caption.bottom + 1});
  }
  expected.Text(font, "Check now", caption, kCenter);
  expected.Frame(Look::kOffice2000, TOffBtnState::bsActive, FrameColoursOf(button));
  EXPECT_EQ(Differences(Paint(button), expected.Get()), "");
}

INSTANTIATE_TEST_SUITE_P(
    Focus, FocusMarkTest,
    ::testing::Values(
        FocusCase{"focused", [](PaintTest& t, TOffice97Button& b) { t.Focus(b); }, true},
        FocusCase{"focus_on_other_flat_button",
                  [](PaintTest& t, TOffice97Button& b) {
                    t.Focus(b);
                    t.SetFocusedControl(&t.OtherFlatButton());
                  },
                  false},
        FocusCase{"focus_on_other_kind_of_control",
                  [](PaintTest& t, TOffice97Button& b) {
                    t.Focus(b);
                    t.SetFocusedControl(&static_cast<FocusMarkTest&>(t).plainControl_);
                  },
                  true},
        FocusCase{"no_focused_control",
                  [](PaintTest& t, TOffice97Button& b) {
                    t.Focus(b);
                    t.SetFocusedControl(nullptr);
                  },
                  true},
        // Hovered only: never key-active.
        FocusCase{"hovered_not_key_active",
                  [](PaintTest& t, TOffice97Button& b) {
                    t.Hover(b);
                    t.SetFocusedControl(nullptr);
                  },
                  false},
        FocusCase{"focus_set_without_key_active",
                  [](PaintTest& t, TOffice97Button& b) {
                    t.Hover(b);
                    t.SetFocusedControl(&b);
                  },
                  false}),
    [](const auto& info) { return info.param.name; });

// The mark is drawn before the pressed offset: it stays where the caption
// was while the caption moves one pixel right and down.
TEST_F(PaintTest, PressedButtonsFocusMarkStaysWhereTheCaptionWas) {
  TOffice97Button& button = AddButton(100, 30, "Check now");
  Press(button);
  ASSERT_EQ(button.State(), TOffBtnState::bsDown);
  ASSERT_TRUE(button.KeyActive());

  const FontDescription font = Hovering(button);
  Expected expected(100, 30, button.Color());
  const Rect caption = Centred(button, expected.Extent(font, "Check now"));
  expected.FocusRect({caption.left, caption.top, caption.right + 1, caption.bottom + 1});
  expected.Text(font, "Check now", Moved(caption, 1, 1), kCenter);
  expected.Frame(Look::kOffice2000, TOffBtnState::bsDown, FrameColoursOf(button));
  EXPECT_EQ(Differences(Paint(button), expected.Get()), "");
}

// The pixels of a dotted outline along `path` found between `marked` and
// `plain`: only on the path, all in `pen`, on every segment that is more
// than a few pixels long, with gaps.
void ExpectDottedOutline(const Image& marked, const Image& plain, const std::vector<Point>& path,
                         Colour pen) {
  std::vector<std::set<std::pair<int, int>>> segments;
  std::set<std::pair<int, int>> onPath;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    std::set<std::pair<int, int>> segment;
    for (const Point p : offbtn_test::PolylinePixels({path[i], path[i + 1]})) {
      segment.insert({p.x, p.y});
      onPath.insert({p.x, p.y});
    }
    segments.push_back(segment);
  }
  std::set<std::pair<int, int>> ink;
  for (int y = 0; y < marked.height; ++y) {
    for (int x = 0; x < marked.width; ++x) {
      if (marked.At(x, y) == plain.At(x, y)) continue;
      EXPECT_TRUE(onPath.count({x, y})) << "mark off the outline at " << x << "," << y;
      EXPECT_EQ(marked.At(x, y), pen) << x << "," << y;
      ink.insert({x, y});
    }
  }
  for (std::size_t i = 0; i < segments.size(); ++i) {
    // A segment of a few pixels may fall into a gap of the dots.
    if (segments[i].size() < 4) continue;
    const bool inked = std::any_of(segments[i].begin(), segments[i].end(),
                                   [&](const auto& p) { return ink.count(p) > 0; });
    EXPECT_TRUE(inked) << "no dots on segment " << i << " from (" << path[i].x << ","
                       << path[i].y << ")";
  }
  EXPECT_LT(ink.size(), onPath.size()) << "dotted, not solid";
}

// A focused hint button with a two-line caption: the caption's lines at
// the left after the glyph, and a dotted outline in Font's colour (not the
// hover font's) along the full-width first line that steps in, at the top
// of the second line, to the end of that line's text.
TEST_F(PaintTest, HintButtonsTwoLineFocusOutlineFollowsTheShorterLastLine) {
  TOffice97Button& button = AddButton(130, 40, "Scan removable drives");
  button.SetControlType(TOffBtnType::bsHintButton);
  button.GetFont()->SetColor(kTextBlue);
  button.HoverFont()->SetColor(kHoverRed);
  Focus(button);
  const Image marked = Paint(button);
  SetFocusedControl(&OtherFlatButton());
  const Image plain = Paint(button);

  const GlyphPixels glyph = offbtn_test::StockGlyph(button.StockGlyphNames()[0]);  // active
  const FontDescription font = Hovering(button);
  const int wrapWidth = 130 - glyph.width - 10;
  Expected expected(130, 40, button.Color());
  ASSERT_LE(expected.Extent(font, "Scan removable").width, wrapWidth);
  ASSERT_GT(expected.Extent(font, "Scan removable drives").width, wrapWidth);
  const int h0 = expected.Extent(font, "0").height;
  const Rect caption{glyph.width + 7, 2, glyph.width + 7 + wrapWidth, 2 + 2 * h0};
  expected.Text(font, "Scan removable", {caption.left, 2, caption.right, 2 + h0}, kLeft);
  expected.Text(font, "drives", {caption.left, 2 + h0, caption.right, 2 + 2 * h0}, kLeft);
  const int d = expected.Extent(font, "Scan removable drives").height - glyph.height;
  expected.Glyph(glyph, 2, d < 2 ? 2 : Half(d) + 2,
                 glyph.pixels[static_cast<std::size_t>((glyph.height - 1) * glyph.width)]);
  EXPECT_EQ(Differences(plain, expected.Get()), "");

  const int x1 = caption.left - 1, y1 = caption.top - 1;
  const int x2 = caption.right + 2, y2 = caption.bottom + 1;
  const int xe = std::min(x1 + 2 + expected.Extent(font, "drives").width, x2);
  const int yl = y1 + h0;
  ASSERT_LT(xe, x2) << "the last line is the shorter";
  ExpectDottedOutline(marked, plain, {{x1, y2}, {x1, y1}, {x2, y1}, {x2, yl}, {xe, yl}, {xe, y2}, {x1, y2}},
                      kTextBlue);
}

// How wide a case's button is, from the caption's one-line width, its
// first character's width and the glyph's width.
using WidthRule = std::function<int(int caption, int firstCharacter, int glyph)>;

struct OutlineCase {
  std::string name;
  std::string caption;
  bool wordWrap;
  WidthRule width;
};
void PrintTo(const OutlineCase& c, std::ostream* os) { *os << c.name; }

class PlainOutlineTest : public PaintTest, public ::testing::WithParamInterface<OutlineCase> {};

// A small-glyph kind's mark is the plain dotted rectangle around the
// caption when there is one line, no word wrap, or no line at all (the
// caption's first character does not fit the wrap width; the rectangle
// then is the wrap width wide and no line high, and still shows a
// keyboard user where the focus is).
TEST_P(PlainOutlineTest, DottedRectangleAroundTheCaption) {
  const OutlineCase& c = GetParam();
  Expected measuring(1, 1, 0);
  const FontDescription font = ui::Describe(ui::Font{});  // Font and HoverFont as they start
  const ui::Size oneLine = measuring.Extent(font, c.caption);
  const int gw = offbtn_test::StockGlyph("OFFICE_9").width;  // bsUpButton's
  const int width = c.width(oneLine.width, measuring.Extent(font, c.caption.substr(0, 1)).width, gw);

  TOffice97Button& button = AddButton(width, 30, c.caption);
  button.SetControlType(TOffBtnType::bsUpButton);
  button.SetWordWrap(c.wordWrap);
  Focus(button);
  const Image marked = Paint(button);
  SetFocusedControl(&OtherFlatButton());
  const Image plain = Paint(button);

  const int wrapWidth = width - gw - 10;
  Rect caption{gw + 7, 2, gw + 7 + oneLine.width, 2 + oneLine.height};
  if (c.wordWrap && oneLine.width > wrapWidth) caption = {gw + 7, 2, gw + 7 + wrapWidth, 2};
  const int x1 = caption.left - 1, y1 = caption.top - 1;
  const int x2 = caption.right + 2, y2 = caption.bottom + 1;
  // The rectangle's outline runs from (x1, y1) to (x2 - 1, y2 - 1).
  ExpectDottedOutline(marked, plain,
                      {{x1, y1}, {x2 - 1, y1}, {x2 - 1, y2 - 1}, {x1, y2 - 1}, {x1, y1}},
                      GetSysColor(COLOR_WINDOWTEXT));
}

INSTANTIATE_TEST_SUITE_P(
    Captions, PlainOutlineTest,
    ::testing::Values(
        OutlineCase{"one_line", "Up", true, [](int, int, int) { return 120; }},
        // One pixel too narrow for the caption: it would wrap.
        OutlineCase{"no_word_wrap", "Move the entry up", false,
                    [](int caption, int, int glyph) { return caption + glyph + 9; }},
        // A wrap width narrower than the first character.
        OutlineCase{"wrap_failed", "WW", true,
                    [](int, int first, int glyph) {
                      EXPECT_GT(first, 6);
                      return glyph + 10 + 6;
                    }}),
    [](const auto& info) { return info.param.name; });

// A caption that cannot be wrapped is not drawn: the button shows its
// glyph only, placed as for the caption's one-line height.
TEST_F(PaintTest, CaptionThatCannotBeWrappedIsNotDrawn) {
  const GlyphPixels glyph = offbtn_test::StockGlyph("OFFICE_12");  // bsUpButton, inactive
  const int wrapWidth = 6;
  TOffice97Button& button = AddButton(glyph.width + 10 + wrapWidth, 30, "WW");
  button.SetControlType(TOffBtnType::bsUpButton);
  ASSERT_EQ(button.StockGlyphNames()[3], "OFFICE_12");

  Expected expected(button.Width(), 30, button.Color());
  ASSERT_GT(expected.Extent(Normal(button), "W").width, wrapWidth);
  const int d = expected.Extent(Normal(button), "WW").height - glyph.height;
  expected.Glyph(glyph, 2, d < 2 ? 2 : Half(d) + 2,
                 glyph.pixels[static_cast<std::size_t>((glyph.height - 1) * glyph.width)]);
  EXPECT_EQ(Differences(Paint(button), expected.Get()), "");
}

}  // namespace
