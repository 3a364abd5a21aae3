#pragma once
// Painting of the standard controls over the GDI canvas: the label's text,
// the image's picture and the panel's bevels and caption. Each paints the
// control as it is now onto a canvas whose origin is the control's top
// left; a failure to make a GDI object throws ui::win32::GdiError.

#include <string_view>

#include "controls/standard/image.h"
#include "controls/standard/label.h"
#include "controls/standard/panel.h"
#include "ui/font.h"
#include "ui/geometry.h"
#include "ui/win32/canvas.h"
#include "ui/win32/win32_window_system.h"

namespace controls {

// The background in Color unless Transparent, then the caption in the
// label's font: aligned by Alignment, word-wrapped with WordWrap, `&`
// marking the accelerator; a disabled label's text embossed in the
// button highlight and shadow colours.
void PaintLabel(const TLabel& label, ui::win32::Canvas& canvas);

// The picture at (0, 0), unstretched; nothing without one.
void PaintImage(TImage& image, ui::win32::Canvas& canvas);

// The outer, then the inner bevel (each BevelWidth rings; raised: button
// highlight on the top and left, button shadow on the bottom and right,
// lowered the other way round; bvSpace draws nothing and takes no room),
// the rest in Color, and the caption on one line centred vertically and
// placed across by Alignment.
void PaintPanel(const TPanel& panel, ui::win32::Canvas& canvas);

// `text` in `font` broken into lines no wider than `width` exactly as
// PaintLabel breaks a word-wrapped caption: the block's size.
ui::Size MeasureWrappedLabelText(const ui::Font& font, std::string_view text, int width);

// Makes `windows` paint labels, images and panels (and controls derived
// from them without a painter of their own) with the painters above, and
// measure wrapped text as the label draws it.
void RegisterStandardPainters(ui::win32::Win32WindowSystem& windows);

}  // namespace controls
