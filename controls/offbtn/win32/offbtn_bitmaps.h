#pragma once
// The flat button's bitmap routines: a glyph drawn with one colour left
// transparent, and the embossed grey glyph of a disabled button.

#include <windows.h>

#include <cstdint>

#include "ui/colour.h"
#include "ui/win32/canvas.h"

namespace controls {

// Draws `bitmap` with its top-left corner at (x, y), leaving the pixels of
// `transparent` unpainted; nothing for a bitmap less than one pixel wide or
// high. Resolves a system colour and hands over to DrawTransparentBitmapNew.
void DrawTransparentBitmap(ui::win32::Canvas& canvas, std::int16_t x, std::int16_t y,
                           const ui::win32::Bitmap& bitmap, ui::Colour transparent);

// The work behind DrawTransparentBitmap, in nine blits through masks
// whatever the picture: `transparent` is an RGB value. The bitmap is
// changed on the way and put back, so it ends as it was; it must not be
// selected into a device context.
void DrawTransparentBitmapNew(ui::win32::Canvas& dc, HBITMAP bitmap, int x, int y,
                              ui::Colour transparent);

// Makes `disabledCache` an embossed grey version of `source`, of its size:
// where `source` has the colour `outline`, a shadow line (COLOR_BTNSHADOW)
// over a highlight line one pixel right and down (COLOR_BTNHIGHLIGHT), the
// button face (COLOR_BTNFACE) elsewhere. A failure to make a GDI object
// throws ui::win32::GdiError.
void CreateDisabledBitmap(const ui::win32::Bitmap& source, ui::Colour outline,
                          ui::win32::Bitmap& disabledCache);

}  // namespace controls
