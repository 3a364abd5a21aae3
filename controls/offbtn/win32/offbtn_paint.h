#pragma once
// Painting of the flat button TOffice97Button: composed off-screen in a
// work bitmap of the button's size (background, focus mark, caption,
// glyph, frame, from bottom to top) and copied to the control's canvas in
// one blit, so the button does not flicker.

#include <functional>

#include "controls/offbtn/offbtn_layout.h"
#include "controls/offbtn/offbtn_text.h"
#include "controls/offbtn/offbtn_types.h"
#include "controls/offbtn/office97_button.h"
#include "ui/colour.h"
#include "ui/win32/canvas.h"
#include "ui/win32/win32_window_system.h"

namespace controls {

// The host's CopyParentImage: paints the parent's background, and the
// parent's windowless controls behind the button, into `work`, whose
// (0, 0) is the button's top-left corner.
using CopyParentImage =
    std::function<void(const TOffice97Button& button, ui::win32::Canvas& work)>;

// Paints `button` as it is now onto `target` at (0, 0). A Transparent
// button's background comes from `copyParentImage`; without one (a button
// on no parent) nothing is painted behind it. Right-to-left reading is not
// modelled in this program (it has no BiDiMode): captions and glyphs are
// placed and aligned left to right only. A failure to make a GDI object
// throws ui::win32::GdiError.
void PaintOffice97Button(TOffice97Button& button, ui::win32::Canvas& target,
                         const CopyParentImage& copyParentImage);

// Makes `windows` paint every flat button with PaintOffice97Button, a
// transparent one over what lies behind it in its parent.
void RegisterOffice97ButtonPainter(ui::win32::Win32WindowSystem& windows);

// The colours a frame is drawn in.
struct FrameColours {
  ui::Colour inactive = 0x00C0C0C0;        // InactiveColor
  ui::Colour active = 0x00808080;          // ActiveColor
  ui::Colour activeOutline = 0x00FFFFFF;   // ActiveOutlineColor
  ui::Colour activeOutline2 = 0x00D6E7E7;  // ActiveOutlineColor2
};
FrameColours FrameColoursOf(const TOffice97Button& button);

// The frames of a button `right` x `bottom` pixels in `state` (bsDownAndOut
// looks like bsInactive): the Office 97 look's rounded outline and the
// Office 2000 look's chamfered rectangle. They leave the canvas's pen set.
void DrawFrame(ui::win32::Canvas& canvas, TOffBtnState state, const FrameColours& colours,
               int right, int bottom);
void DrawOffice2000Frame(ui::win32::Canvas& canvas, TOffBtnState state,
                         const FrameColours& colours, int right, int bottom);

// The focus mark of the small-glyph kinds, a dotted outline in `penColour`
// around the placed `caption`: a rectangle for a one-line caption (or
// without word wrap, or when the wrap failed and there is no last line to
// follow), else an outline along the full-width first lines that steps in
// to the end of the shorter last line. Widths and the line height ("0") are
// measured with the canvas's font; left to right only, as the whole paint.
// Leaves the pen, a hollow brush and transparent background mode set.
void DrawOfficeFocusRect(ui::win32::Canvas& canvas, const Rect& caption, const WrapText& lines,
                         bool wordWrap, ui::Colour penColour);

}  // namespace controls
