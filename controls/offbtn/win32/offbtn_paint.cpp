#include "controls/offbtn/win32/offbtn_paint.h"

#include <algorithm>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "controls/offbtn/win32/offbtn_bitmaps.h"
#include "ui/font_description.h"
#include "ui/text_flags.h"
#include "ui/win32/bitmap_file.h"
#include "ui/window_system.h"

namespace controls {

using ui::Colour;
using ui::Point;
using ui::win32::BackgroundMode;
using ui::win32::Bitmap;
using ui::win32::Brush;
using ui::win32::BrushStyle;
using ui::win32::Canvas;
using ui::win32::MemoryCanvas;
using ui::win32::Pen;
using ui::win32::PenStyle;
using ui::win32::RasterOp;
using S = TOffBtnState;

namespace {

// Draws a frame table row by row: a pen, a polyline, single pixels in that
// pen's colour.
class FramePen {
 public:
  explicit FramePen(Canvas& canvas) : canvas_(canvas) {}
  void Use(Colour colour) {
    colour_ = colour;
    canvas_.SetPen(Pen{colour, PenStyle::kSolid});
  }
  void Line(std::initializer_list<Point> points) {
    canvas_.Polyline(std::span<const Point>(points.begin(), points.size()));
  }
  void Pixels(std::initializer_list<Point> points) {
    for (const Point& p : points) canvas_.SetPixel(p, colour_);
  }

 private:
  Canvas& canvas_;
  Colour colour_ = 0;
};

ui::Rect ToUi(const Rect& r) { return ui::Rect{r.left, r.top, r.right, r.bottom}; }

MeasureText MeasureOn(Canvas& canvas) {
  return [&canvas](std::string_view text) {
    const ui::Size size = canvas.TextExtent(std::string(text));
    return TextSize{size.width, size.height};
  };
}

// The caption's font: the hover font while an enabled button is hovered or
// pressed; a disabled button's caption in InactiveColor; bold for the
// default button in every state.
ui::FontDescription CaptionFont(TOffice97Button& button) {
  const bool hot = button.State() == S::bsActive || button.State() == S::bsDown;
  ui::FontDescription font =
      ui::Describe(button.Enabled() && hot ? *button.HoverFont() : button.FontOf());
  if (!button.Enabled()) font.colour = button.InactiveColor();
  if (button.Default()) font.bold = true;
  return font;
}

// The glyph CurrentGlyph names, as a GDI bitmap (empty for none); the
// emboss of the inactive glyph is made into `disabledCache`, black pixels
// being its outline.
const Bitmap& GlyphBitmap(TOffice97Button& button, Bitmap& converted, Bitmap& disabledCache) {
  const TOffice97Button::Glyph glyph = button.CurrentGlyph();
  if (glyph.bitmap == nullptr) return converted;
  converted = ui::win32::FromFile(*glyph.bitmap);
  if (!glyph.embossInactive) return converted;
  CreateDisabledBitmap(converted, 0x00000000, disabledCache);
  return disabledCache;
}

// There is no form designer in this program, so the design-time rule (a
// mark on every enabled button with a caption) never applies.
bool ShowsFocusMark(TOffice97Button& button) {
  if (!button.KeyActive()) return false;
  ui::WindowSystem* windows = button.Windows();
  ui::WinControl* focused = windows ? windows->Focused() : nullptr;
  // A focused control of another kind leaves the mark to the button that
  // answers Enter (the default one); another flat button takes it away.
  return focused == &button || dynamic_cast<TOffice97Button*>(focused) == nullptr;
}

Colour BottomLeftPixel(const Bitmap& glyph) {
  MemoryCanvas canvas(nullptr, glyph);
  return GetPixel(canvas.Handle(), 0, glyph.Height() - 1) & 0x00FFFFFF;
}

void DrawCaption(TOffice97Button& button, Canvas& work, const CaptionText& text,
                 const Rect& caption) {
  const bool pushButton = button.ControlType() == TOffBtnType::bsButton;
  if (button.WordWrap() && text.Wrap.WrapLineCount() != 1) {
    // The lines as wrapped, one "0"-height apart; none when the wrap failed.
    const int h0 = LineHeight(MeasureOn(work));
    const unsigned flags = pushButton ? ui::text_flags::kCenter : ui::text_flags::kLeft;
    for (int i = 0; i < text.Wrap.WrapLineCount(); ++i) {
      const int top = caption.top + i * h0;
      ui::Rect line{caption.left, top, caption.left + text.WrapWidth, top + h0};
      work.DrawText(text.Wrap.WrapLines[static_cast<std::size_t>(i)], line, flags);
    }
    return;
  }
  // The whole caption, however long: the layout has already sized it.
  ui::Rect r = ToUi(caption);
  work.DrawText(button.Caption(), r,
                pushButton ? ui::text_flags::kCenter : ui::text_flags::kWordBreak);
}

}  // namespace

FrameColours FrameColoursOf(const TOffice97Button& button) {
  return FrameColours{button.InactiveColor(), button.ActiveColor(), button.ActiveOutlineColor(),
                      button.ActiveOutlineColor2()};
}

void DrawFrame(Canvas& canvas, TOffBtnState state, const FrameColours& k, int R, int B) {
  FramePen p(canvas);
  p.Use(k.inactive);
  switch (state) {
    case S::bsInactive:
    case S::bsDownAndOut:
      p.Line({{8, 2},         {7, 3},         {6, 3},         {3, 6},         {3, 7},
              {2, 8},         {2, B - 8},     {3, B - 7},     {3, B - 6},     {6, B - 3},
              {7, B - 3},     {8, B - 2},     {R - 8, B - 2}, {R - 7, B - 3}, {R - 6, B - 3},
              {R - 3, B - 6}, {R - 3, B - 7}, {R - 2, B - 8}, {R - 2, 8},     {R - 3, 7},
              {R - 3, 6},     {R - 6, 3},     {R - 7, 3},     {R - 8, 2},     {8, 2}});
      p.Pixels({{8, 2}});
      break;
    case S::bsActive:
      // Raised: a shadow rim outside, a highlight inside the top and left.
      p.Line({{R - 8, 1}, {8, 1}, {7, 2}, {6, 2}, {2, 6}, {2, 7}, {1, 8}, {1, B - 8}, {2, B - 7},
              {2, B - 6}, {5, B - 3}});
      p.Pixels({{5, B - 3}, {7, B - 2}});
      p.Line({{5, B - 5}, {6, B - 4}, {7, B - 4}, {8, B - 3}, {R - 8, B - 3}, {R - 3, B - 8},
              {R - 3, 8}, {R - 2, 7}});
      p.Pixels({{R - 2, 7}, {R - 7, B - 2}});
      p.Line({{R - 5, B - 3}, {R - 3, B - 5}});
      p.Pixels({{R - 3, B - 5}});
      p.Line({{R - 6, B - 4}, {R - 4, B - 6}});
      p.Pixels({{R - 4, B - 6}, {R - 2, B - 7}, {R - 2, 7}});
      p.Line({{R - 4, 6}, {R - 5, 5}});
      p.Pixels({{R - 5, 5}});
      p.Line({{R - 3, 5}, {R - 6, 2}});
      p.Pixels({{R - 6, 2}});
      p.Use(k.active);
      p.Line({{8, 2},         {7, 3},         {6, 3},         {3, 6},         {3, 7},
              {2, 8},         {2, B - 8},     {3, B - 7},     {3, B - 6},     {6, B - 3},
              {7, B - 3},     {8, B - 2},     {R - 8, B - 2}, {R - 7, B - 3}, {R - 6, B - 3},
              {R - 3, B - 6}, {R - 3, B - 7}, {R - 2, B - 8}, {R - 2, 8},     {R - 3, 7},
              {R - 3, 6},     {R - 7, 2},     {8, 2}});
      p.Pixels({{8, 2}});
      p.Use(k.activeOutline);
      p.Line({{R - 7, 3}, {8, 3}, {3, 8}, {3, B - 8}});
      p.Pixels({{3, B - 8}});
      p.Line({{R - 6, 5}, {R - 6, 4}, {8, 4}, {4, 8}, {4, B - 6}, {5, B - 6}});
      p.Pixels({{5, B - 6}});
      p.Line({{6, 4}, {4, 6}});
      p.Pixels({{4, 6}});
      break;
    case S::bsDown:
      // Sunken: the highlight runs along the bottom and right.
      p.Line({{R - 8, 1},     {8, 1},         {7, 2},         {6, 2},         {2, 6},
              {2, 7},         {1, 8},         {1, B - 8},     {2, B - 7},     {2, B - 6},
              {4, B - 4},     {5, B - 4},     {6, B - 3},     {7, B - 3},     {8, B - 2},
              {R - 8, B - 2}, {R - 7, B - 3}, {R - 6, B - 3}, {R - 3, B - 6}, {R - 3, B - 7},
              {R - 2, B - 8}, {R - 2, 8},     {R - 3, 7},     {R - 3, 6}});
      p.Pixels({{R - 3, 6}, {8, 3}});
      p.Line({{6, 4}, {4, 6}});
      p.Pixels({{4, 6}});
      p.Line({{3, 8}, {3, B - 8}});
      p.Pixels({{3, B - 8}, {4, B - 6}});
      p.Line({{R - 4, 4}, {R - 6, 2}});
      p.Pixels({{R - 6, 2}, {R - 7, 3}});
      p.Use(k.active);
      p.Line({{R - 4, 5}, {R - 7, 2}, {8, 2}, {7, 3}, {6, 3}, {3, 6}, {3, 7}, {2, 8}, {2, B - 8},
              {3, B - 7}, {3, B - 6}, {4, B - 5}});
      p.Pixels({{4, B - 5}});
      p.Use(k.activeOutline);
      p.Line({{7, 5}, {5, 7}, {5, B - 5}});
      p.Pixels({{5, B - 5}});
      p.Line({{R - 8, 3}, {9, 3}});
      p.Pixels({{9, 3}});
      p.Line({{5, B - 3},     {6, B - 2}, {7, B - 2}, {7, B - 1}, {R - 6, B - 1}, {R - 1, B - 6},
              {R - 1, 8},     {R - 2, 7}, {R - 2, 6}, {R - 3, 5}, {R - 4, 6},     {R - 5, 5},
              {R - 6, 5},     {R - 6, 4}, {7, 4},     {4, 7},     {4, B - 7}});
      p.Pixels({{4, B - 7}});
      p.Line({{R - 4, B - 2}, {R - 1, B - 5}});
      p.Pixels({{R - 1, B - 5}});
      p.Line({{R - 7, B - 2}, {R - 6, B - 2}, {R - 2, B - 6}, {R - 2, B - 7}});
      p.Pixels({{R - 2, B - 7}});
      break;
  }
}

void DrawOffice2000Frame(Canvas& canvas, TOffBtnState state, const FrameColours& k, int R, int B) {
  FramePen p(canvas);
  p.Use(k.inactive);
  switch (state) {
    case S::bsInactive:
    case S::bsDownAndOut:
      p.Line({{3, 1}, {1, 3}, {1, B - 4}, {3, B - 2}, {R - 4, B - 2}, {R - 2, B - 4}, {R - 2, 3},
              {R - 4, 1}, {3, 1}});
      break;
    case S::bsActive:
      // An outer ring, a highlight at top-left, a shadow at bottom-right.
      p.Pixels({{R - 2, 3}, {2, B - 3}});
      p.Use(k.active);
      p.Line({{R - 2, 4}, {R - 2, B - 4}, {R - 4, B - 2}, {3, B - 2}});
      p.Pixels({{3, B - 2}});
      p.Use(k.activeOutline);
      p.Line({{R - 3, 2}, {R - 4, 1}, {3, 1}, {1, 3}, {1, B - 4}});
      p.Pixels({{1, B - 4}});
      p.Use(k.activeOutline2);
      p.Line({{3, 0}, {0, 3}, {0, B - 4}, {3, B - 1}, {R - 4, B - 1}, {R - 1, B - 4}, {R - 1, 3},
              {R - 4, 0}, {3, 0}});
      break;
    case S::bsDown:
      // Highlight and shadow swapped.
      p.Pixels({{R - 3, 2}, {1, B - 4}});
      p.Use(k.active);
      p.Line({{R - 4, 1}, {3, 1}, {1, 3}, {1, B - 5}});
      p.Pixels({{1, B - 5}});
      p.Use(k.activeOutline);
      p.Line({{R - 2, 2}, {R - 1, 3}, {R - 1, B - 4}, {R - 4, B - 1}, {3, B - 1}, {1, B - 3}});
      p.Pixels({{1, B - 3}});
      p.Use(k.activeOutline2);
      p.Line({{R - 3, 1}, {R - 4, 0}, {3, 0}, {0, 3}, {0, B - 4}});
      p.Pixels({{0, B - 4}});
      p.Line({{R - 2, 3}, {R - 2, B - 4}, {R - 4, B - 2}, {3, B - 2}, {2, B - 3}});
      p.Pixels({{2, B - 3}});
      break;
  }
}

void DrawOfficeFocusRect(Canvas& canvas, const Rect& caption, const WrapText& lines,
                         bool wordWrap, Colour penColour) {
  canvas.SetPen(Pen{penColour, PenStyle::kDotted});
  canvas.SetBrush(Brush{0, BrushStyle::kHollow});
  // The gaps between the dots show what lies below.
  canvas.SetBackgroundMode(BackgroundMode::kTransparent);
  const int x1 = caption.left - 1;
  const int y1 = caption.top - 1;
  const int x2 = caption.right + 2;
  const int y2 = caption.bottom + 1;
  // A failed wrap (no lines) has no last line to follow: the plain
  // rectangle still shows a keyboard user where the focus is.
  if (lines.WrapLineCount() <= 1 || !wordWrap) {
    canvas.Rectangle(ui::Rect{x1, y1, x2, y2});
    return;
  }
  const MeasureText measure = MeasureOn(canvas);
  const int xe = std::min(x1 + 2 + measure(lines.WrapLines.back()).Width, x2);
  const int yl = y1 + LineHeight(measure) * (lines.WrapLineCount() - 1);
  const Point outline[] = {{x1, y2}, {x1, y1}, {x2, y1}, {x2, yl},
                           {xe, yl}, {xe, y2}, {x1, y2}};
  canvas.Polyline(outline);
}

void PaintOffice97Button(TOffice97Button& button, Canvas& target,
                         const CopyParentImage& copyParentImage) {
  const int width = button.Width();
  const int height = button.Height();
  if (width <= 0 || height <= 0) return;

  const Bitmap workBitmap = Bitmap::Compatible(target.Handle(), width, height);
  MemoryCanvas work(target.Handle(), workBitmap);

  if (button.Transparent()) {
    if (copyParentImage) copyParentImage(button, work);
  } else {
    work.FillRect(ui::Rect{0, 0, width, height}, button.Color());
  }

  work.SetFont(CaptionFont(button));
  const MeasureText measure = MeasureOn(work);

  Bitmap converted;
  Bitmap disabledCache;
  const Bitmap& glyph = GlyphBitmap(button, converted, disabledCache);
  const OffBtnLayoutInput input = button.LayoutInput(glyph.Width(), glyph.Height());

  CaptionText text;
  Rect caption;
  if (button.WordWrap()) {
    text = CalculateTxt(input, measure);
    caption = text.TxtRect;
  } else {
    const TextSize oneLine = measure(button.Caption());
    caption = Rect{0, 0, oneLine.Width, oneLine.Height};
  }

  const bool pushButton = button.ControlType() == TOffBtnType::bsButton;
  const LayoutRects placed = Layout(input, caption, measure, [&](const LayoutRects& at) {
    if (!ShowsFocusMark(button)) return;
    if (pushButton) {
      const Rect& c = at.Caption;
      work.DrawFocusRect(ui::Rect{c.left, c.top, c.right + 1, c.bottom + 1});
    } else {
      DrawOfficeFocusRect(work, at.Caption, text.Wrap, button.WordWrap(),
                          button.FontOf().Color());
    }
  });

  work.SetBrush(Brush{0, BrushStyle::kHollow});
  work.SetBackgroundMode(BackgroundMode::kTransparent);
  DrawCaption(button, work, text, placed.Caption);

  if (button.ShowGlyph() && !glyph.Empty()) {
    const Colour transparent =
        button.AutoTransparency() ? BottomLeftPixel(glyph) : button.TransparentColor();
    DrawTransparentBitmap(work, static_cast<std::int16_t>(placed.Glyph.left),
                          static_cast<std::int16_t>(placed.Glyph.top), glyph, transparent);
  }

  if (pushButton) {
    const FrameColours colours = FrameColoursOf(button);
    if (button.Office2000Look()) {
      DrawOffice2000Frame(work, button.State(), colours, width, height);
    } else {
      DrawFrame(work, button.State(), colours, width, height);
    }
  }

  target.BitBlt(Point{0, 0}, ui::Size{width, height}, work, Point{0, 0}, RasterOp::kSrcCopy);
}

void RegisterOffice97ButtonPainter(ui::win32::Win32WindowSystem& windows) {
  windows.RegisterPainter(TOffice97Button::StaticClass(),
                          [&windows](ui::Control& control, ui::win32::Canvas& canvas) {
                            PaintOffice97Button(
                                static_cast<TOffice97Button&>(control), canvas,
                                [&windows](const TOffice97Button& button,
                                           ui::win32::Canvas& work) {
                                  windows.PaintParentImage(button, work);
                                });
                          });
}

}  // namespace controls
