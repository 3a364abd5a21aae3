// Painting gives back every GDI object it makes: ten thousand paint cycles
// of the kind the flat button runs (work bitmap, background, frame lines,
// focus marks, caption, transparent glyph, disabled glyph, copy to the
// control's device context), and ten thousand rounds of the button's own
// paint while it is hovered and pressed, leave the process's object counts
// where they started.
//
// Wine 8's GetGuiResources is a stub that answers 0; there the GDI count is
// the number of live entries in the process's GDI handle table (see
// ui/win32/testing/gui_objects.h), and USER objects have no measure, so only
// the (zero) GetGuiResources figure is compared for them.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "controls/offbtn/win32/offbtn_bitmaps.h"
#include "controls/offbtn/win32/offbtn_paint.h"
#include "controls/offbtn/win32/tests/paint_fixture.h"
#include "ui/text_flags.h"
#include "ui/win32/canvas.h"
#include "ui/win32/testing/gui_objects.h"
#include "ui/win32/testing/pixel_surface.h"

namespace {

using ui::Point;
using ui::Rect;
using ui::win32::Bitmap;
using ui::win32::BrushStyle;
using ui::win32::Canvas;
using ui::win32::MemoryCanvas;
using ui::win32::PenStyle;
using ui::win32::RasterOp;
using ui::win32::testing::CountGuiObjects;
using ui::win32::testing::GuiObjects;
using ui::win32::testing::PixelSurface;

constexpr int kWidth = 70;
constexpr int kHeight = 23;

// One paint: everything on a work bitmap, copied to the control's device
// context, which a canvas borrows for the copy.
void PaintCycle(HDC control, const Bitmap& glyph, int cycle) {
  Bitmap work = Bitmap::Compatible(control, kWidth, kHeight);
  MemoryCanvas canvas(control, work);
  canvas.FillRect(Rect{0, 0, kWidth, kHeight}, cycle % 2 ? 0x00FFF3EF : ui::kColourBtnFace);

  ui::FontDescription font;
  font.bold = cycle % 3 == 0;
  font.colour = 0x00912400;
  canvas.SetFont(font);
  canvas.SetBackgroundMode(ui::win32::BackgroundMode::kOpaque);
  const Point focus[] = {{10, 4}, {10, 2}, {60, 2}, {60, 20}, {10, 20}, {10, 4}};
  canvas.SetPen({0x00912400, PenStyle::kDotted});
  canvas.Polyline(focus);
  canvas.SetBrush({0, BrushStyle::kHollow});
  canvas.Rectangle(Rect{9, 1, 62, 22});
  canvas.DrawFocusRect(Rect{12, 5, 58, 19});

  canvas.SetBackgroundMode(ui::win32::BackgroundMode::kTransparent);
  const std::string caption = "&Check now";
  const ui::Size extent = canvas.TextExtent(caption);
  Rect text{14, 5, 14 + extent.width, 5 + extent.height};
  canvas.DrawText(caption, text, ui::text_flags::kCenter | ui::text_flags::kWordBreak);

  controls::DrawTransparentBitmap(canvas, 4, 6, glyph, 0x00FF00FF);
  Bitmap disabled;
  controls::CreateDisabledBitmap(glyph, 0x00000000, disabled);
  {
    MemoryCanvas disabledCanvas(control, disabled);
    canvas.BitBlt({50, 6}, {disabled.Width(), disabled.Height()}, disabledCanvas, {0, 0},
                  RasterOp::kSrcCopy);
  }

  // Frame lines in the three colours of a hovered frame, a system colour
  // among them, with single pixels after.
  const Point frame[] = {{3, 1},   {1, 3},  {1, 19}, {3, 21}, {66, 21},
                         {68, 19}, {68, 3}, {66, 1}, {3, 1}};
  for (ui::Colour colour : {ui::Colour{0x00C0C0C0}, ui::kColourBtnShadow, ui::Colour{0x00D6E7E7}}) {
    canvas.SetPen({colour, PenStyle::kSolid});
    canvas.Polyline(frame);
    canvas.SetPixel({3, 21}, colour);
  }

  // The parent's image behind the button, painted through a saved state.
  const int saved = canvas.Save();
  canvas.SetViewportOrigin({-5, -7});
  canvas.IntersectClip(Rect{0, 0, 200, 100});
  canvas.SetBrush({0x00FFF3EF, BrushStyle::kSolid});
  canvas.FillRect(Rect{0, 0, 200, 100});
  canvas.Restore(saved);

  Bitmap mask = glyph.Copy();
  mask.ConvertToMonochrome(0x00FF00FF);

  Canvas target(control);
  target.BitBlt({0, 0}, {kWidth, kHeight}, canvas, {0, 0}, RasterOp::kSrcCopy);
}

TEST(PaintHandles, TenThousandPaintsLeaveObjectCountsUnchanged) {
  PixelSurface control(kWidth, kHeight);
  const Bitmap glyph = Bitmap::LoadFromResource(GetModuleHandleW(nullptr), "OFFICE_4");
  ASSERT_FALSE(glyph.Empty());
  // The first paint makes what GDI keeps for the process (font caches and
  // the like); counting starts after it.
  PaintCycle(control.Handle(), glyph, 0);

  const GuiObjects start = CountGuiObjects();
  ASSERT_TRUE(start.gdi > 0 || start.gdiHandleTable > 0) << "no measure of GDI objects";
  {
    // The measure sees one object more.
    HPEN leak = CreatePen(PS_SOLID, 1, 0);
    const GuiObjects withPen = CountGuiObjects();
    DeleteObject(leak);
    EXPECT_TRUE(withPen.gdi == start.gdi + 1 || withPen.gdiHandleTable == start.gdiHandleTable + 1);
  }

  for (int cycle = 1; cycle <= 10000; ++cycle) PaintCycle(control.Handle(), glyph, cycle);

  const GuiObjects end = CountGuiObjects();
  EXPECT_EQ(end.gdi, start.gdi);
  EXPECT_EQ(end.user, start.user);
  EXPECT_EQ(end.gdiHandleTable, start.gdiHandleTable);
  std::printf("GetGuiResources GDI %ld USER %ld; Wine GDI handle table %ld live entries\n", end.gdi,
              end.user, end.gdiHandleTable);
}

// The flat button's own paint through every state it passes while
// hovered, pressed, dragged off and back and released, with all it can
// draw: a wrapped bold caption, a focus mark, a glyph with automatic
// transparency, both frames; beside it a disabled button whose glyph is
// embossed on every paint and a focused hint button with its dotted
// outline.
class ButtonPaintHandles : public ::testing::Test, public offbtn_test::ButtonFixture {};

TEST_F(ButtonPaintHandles, TenThousandHoverPressRepaintCyclesLeaveObjectCountsUnchanged) {
  const ui::Bitmap glyph = offbtn_test::Picture(
      4, 3, {0, 0x00FF00FF, 0x00FFFFFF, 0, 0x00336699, 0, 0, 0x000000FF, 0, 0x00808080, 0, 0});
  controls::TOffice97Button& button = AddButton(90, 40, "Remove the selected entries");
  button.SetDefault(true);
  button.SetUseCustomGlyphs(true);
  button.SetInactiveGlyph(glyph);
  button.SetShowGlyph(true);
  controls::TOffice97Button& disabled = AddButton(70, 23, "Close");
  disabled.SetUseCustomGlyphs(true);
  disabled.SetInactiveGlyph(glyph);
  disabled.SetShowGlyph(true);
  disabled.SetEnabled(false);
  controls::TOffice97Button& hint = AddButton(90, 40, "Show this hint again");
  hint.SetControlType(controls::TOffBtnType::bsHintButton);
  hint.SetTransparent(true);
  const controls::CopyParentImage parent = [](const controls::TOffice97Button&, Canvas& work) {
    const int saved = work.Save();
    work.SetViewportOrigin({-5, -7});
    work.FillRect(Rect{0, 0, 200, 100}, 0x00FFF3EF);
    work.Restore(saved);
  };
  PixelSurface control(90, 40);

  auto cycle = [&](int i) {
    switch (i % 4) {
      case 0: Hover(button); break;
      case 1: Press(button); break;
      case 2: PointerOff(button); break;
      default:
        Hover(button);  // back over it: pressed again
        Release(button);
        PointerOff(button);
        break;
    }
    // Every other round in the Office 97 look, whose frame differs.
    if (i % 8 == 0) button.SetOffice2000Look(!button.Office2000Look());
    controls::PaintOffice97Button(button, control.GetCanvas(), parent);
    controls::PaintOffice97Button(disabled, control.GetCanvas(), parent);
    // The hint button holds the focus while the push button is not pressed.
    if (i % 4 == 3) Focus(hint);
    controls::PaintOffice97Button(hint, control.GetCanvas(), parent);
  };
  // The first paints make what GDI keeps for the process; counting starts
  // after them.
  for (int i = 0; i < 8; ++i) cycle(i);

  const GuiObjects start = CountGuiObjects();
  ASSERT_TRUE(start.gdi > 0 || start.gdiHandleTable > 0) << "no measure of GDI objects";
  for (int i = 8; i < 8 + 10000; ++i) cycle(i);

  const GuiObjects end = CountGuiObjects();
  EXPECT_EQ(end.gdi, start.gdi);
  EXPECT_EQ(end.user, start.user);
  EXPECT_EQ(end.gdiHandleTable, start.gdiHandleTable);
}

}  // namespace
