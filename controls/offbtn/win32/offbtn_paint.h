#pragma once
// Painting of the flat button TOffice97Button: its frames.

#include "controls/offbtn/offbtn_types.h"
#include "controls/offbtn/office97_button.h"
#include "ui/colour.h"
#include "ui/win32/canvas.h"

namespace controls {

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

}  // namespace controls
