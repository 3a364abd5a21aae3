#include "controls/standard/win32/standard_paint.h"

#include <windows.h>

#include <string>

#include "ui/colour.h"
#include "ui/font_description.h"
#include "ui/win32/bitmap_file.h"

namespace controls {

using ui::win32::BackgroundMode;
using ui::win32::Canvas;
using ui::win32::MemoryCanvas;

namespace {

unsigned AlignmentFlag(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::taRightJustify:
      return DT_RIGHT;
    case TAlignment::taCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

unsigned LabelFlags(const TLabel& label) {
  return DT_EXPANDTABS | (label.WordWrap() ? DT_WORDBREAK : 0) | AlignmentFlag(label.Alignment());
}

ui::Rect Offset(ui::Rect r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// One bevel of `width` rings inward from `area`, which shrinks by what the
// bevel takes. Each ring's top-right and bottom-left corners belong to the
// bottom-right colour.
void DrawBevel(Canvas& canvas, ui::Rect& area, TPanelBevel bevel, int width) {
  if (bevel != TPanelBevel::bvLowered && bevel != TPanelBevel::bvRaised) return;
  const bool raised = bevel == TPanelBevel::bvRaised;
  const ui::Colour topLeft = raised ? ui::kColourBtnHighlight : ui::kColourBtnShadow;
  const ui::Colour bottomRight = raised ? ui::kColourBtnShadow : ui::kColourBtnHighlight;
  for (int ring = 0; ring < width; ++ring) {
    // GDI would fill an inverted rectangle the other way round.
    if (area.Width() <= 0 || area.Height() <= 0) return;
    const ui::Rect& r = area;
    canvas.FillRect({r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    canvas.FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    canvas.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    area = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
}

// The part of the label's client area that its text takes from top to
// bottom: all of it for tlTop, else the text's height placed by Layout.
ui::Rect TextArea(const TLabel& label, Canvas& canvas, unsigned flags) {
  const ui::Rect client = label.ClientRect();
  if (label.Layout() == TTextLayout::tlTop) return client;
  ui::Rect measured = client;
  canvas.DrawText(label.Caption(), measured, flags | DT_CALCRECT);
  const int spare = client.Height() - measured.Height();
  const int top = client.top + (label.Layout() == TTextLayout::tlCenter ? spare / 2 : spare);
  return {client.left, top, client.right, top + measured.Height()};
}

}  // namespace

void PaintLabel(const TLabel& label, Canvas& canvas) {
  if (!label.Transparent()) canvas.FillRect(label.ClientRect(), label.Color());
  canvas.SetBackgroundMode(BackgroundMode::kTransparent);
  ui::FontDescription font = ui::Describe(label.FontOf());
  const unsigned flags = LabelFlags(label);
  canvas.SetFont(font);
  const ui::Rect client = TextArea(label, canvas, flags);
  if (label.Enabled()) {
    ui::Rect r = client;
    canvas.DrawText(label.Caption(), r, flags);
    return;
  }
  // Greyed as engraved: a highlight copy one pixel down and to the right,
  // the shadow copy over it.
  font.colour = ui::kColourBtnHighlight;
  canvas.SetFont(font);
  ui::Rect lower = Offset(client, 1, 1);
  canvas.DrawText(label.Caption(), lower, flags);
  font.colour = ui::kColourBtnShadow;
  canvas.SetFont(font);
  ui::Rect upper = client;
  canvas.DrawText(label.Caption(), upper, flags);
}

ui::Size MeasureWrappedLabelText(const ui::Font& font, std::string_view text, int width) {
  MemoryCanvas canvas(nullptr, nullptr);
  canvas.SetFont(ui::Describe(font));
  ui::Rect r{0, 0, width, 0};
  canvas.DrawText(std::string(text), r, DT_EXPANDTABS | DT_WORDBREAK | DT_CALCRECT);
  return {r.Width(), r.Height()};
}

void PaintImage(TImage& image, Canvas& canvas) {
  const ui::Bitmap& picture = *image.Picture();
  if (picture.Empty()) return;
  const ui::win32::Bitmap bitmap = ui::win32::FromFile(picture);
  MemoryCanvas source(canvas.Handle(), bitmap);
  canvas.BitBlt({0, 0}, {bitmap.Width(), bitmap.Height()}, source, {0, 0},
                ui::win32::RasterOp::kSrcCopy);
}

void PaintPanel(const TPanel& panel, Canvas& canvas) {
  ui::Rect area = panel.ClientRect();
  DrawBevel(canvas, area, panel.BevelOuter(), panel.BevelWidth());
  DrawBevel(canvas, area, panel.BevelInner(), panel.BevelWidth());
  if (area.Width() > 0 && area.Height() > 0) canvas.FillRect(area, panel.Color());
  if (panel.Caption().empty()) return;

  canvas.SetFont(ui::Describe(panel.FontOf()));
  canvas.SetBackgroundMode(BackgroundMode::kTransparent);
  // One line of the font's height, in the middle of what the bevels leave.
  const int lineHeight = canvas.TextExtent("W").height;
  const int top = (area.top + area.bottom - lineHeight) / 2;
  ui::Rect line{area.left, top, area.right, top + lineHeight};
  canvas.DrawText(panel.Caption(), line,
                  DT_EXPANDTABS | DT_SINGLELINE | AlignmentFlag(panel.Alignment()));
}

void RegisterStandardPainters(ui::win32::Win32WindowSystem& windows) {
  windows.RegisterPainter(TLabel::StaticClass(), [](ui::Control& control, Canvas& canvas) {
    PaintLabel(static_cast<TLabel&>(control), canvas);
  });
  windows.RegisterPainter(TImage::StaticClass(), [](ui::Control& control, Canvas& canvas) {
    PaintImage(static_cast<TImage&>(control), canvas);
  });
  windows.RegisterPainter(TPanel::StaticClass(), [](ui::Control& control, Canvas& canvas) {
    PaintPanel(static_cast<TPanel&>(control), canvas);
  });
  windows.SetWrappedTextMeasure(MeasureWrappedLabelText);
}

}  // namespace controls
