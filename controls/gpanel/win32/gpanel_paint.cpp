#include "controls/gpanel/win32/gpanel_paint.h"

#include "controls/standard/win32/standard_paint.h"
#include "ui/win32/gdi_colour.h"

namespace controls {

void PaintGPanel(const TGPanel& panel, ui::win32::Canvas& canvas) {
  PaintPanel(panel, canvas);
  for (const GradientBand& band : panel.Bands(&ui::win32::ToColorRef)) {
    // Bevels wider than the panel leave no room across the axis; GDI would
    // fill such an inverted rectangle the other way round.
    if (band.rect.Width() <= 0 || band.rect.Height() <= 0) continue;
    canvas.FillRect(band.rect, band.colour);
  }
}

void RegisterGPanelPainter(ui::win32::Win32WindowSystem& windows) {
  windows.RegisterPainter(TGPanel::StaticClass(),
                          [](ui::Control& control, ui::win32::Canvas& canvas) {
                            PaintGPanel(static_cast<TGPanel&>(control), canvas);
                          });
}

}  // namespace controls
