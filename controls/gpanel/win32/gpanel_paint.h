#pragma once
// Painting of the gradient panel TGPanel: the base panel, then the bands
// of its gradient drawn straight onto the control's canvas.

#include "controls/gpanel/gpanel.h"
#include "ui/win32/canvas.h"
#include "ui/win32/win32_window_system.h"

namespace controls {

// The base panel (bevels, background, caption), then, while Active, every
// band of Bands() filled solidly, right and bottom edges excluded; the
// gradient covers the caption. System colours are resolved as they are
// now. A failure to make a GDI object throws ui::win32::GdiError.
void PaintGPanel(const TGPanel& panel, ui::win32::Canvas& canvas);

// Makes `windows` paint every gradient panel with PaintGPanel.
void RegisterGPanelPainter(ui::win32::Win32WindowSystem& windows);

}  // namespace controls
