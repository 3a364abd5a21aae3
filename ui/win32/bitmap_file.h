#pragma once
// The GDI bitmap of a picture that a control holds as bitmap file bytes
// (ui::Bitmap: a glyph property, a bitmap resource).

#include "ui/bitmap.h"
#include "ui/win32/canvas.h"

namespace ui::win32 {

// A DIB section in the file's own format (an 8-bit palette picture stays
// one, with its palette) holding the file's pixels; empty for an empty
// picture. Throws GdiError when GDI cannot make it.
Bitmap FromFile(const ui::Bitmap& picture);

}  // namespace ui::win32
