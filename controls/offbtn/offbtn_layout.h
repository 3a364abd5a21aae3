#pragma once
// Geometry of the flat button TOffice97Button: the caption's size and wrap
// (CalculateTxt), the places of glyph and caption (Layout) and the automatic
// height (AdjustHeight). Pure functions: the button's state comes in as an
// OffBtnLayoutInput, text is measured through a MeasureText on the canvas
// and font of the running operation.

#include <cstdint>
#include <functional>
#include <string>

#include "controls/offbtn/offbtn_text.h"
#include "controls/offbtn/offbtn_types.h"
#include "ui/geometry.h"

namespace controls {

// The canvas's rectangles: right and bottom are exclusive.
using ui::Rect;

// What the geometry needs to know of the button.
struct OffBtnLayoutInput {
  std::int32_t Width = 70;
  std::int32_t Height = 23;
  TOffBtnType ControlType = TOffBtnType::bsButton;
  TGlyphPosition Position = TGlyphPosition::bsLeft;
  bool ShowGlyph = false;
  bool WordWrap = true;
  // The button uses right-to-left alignment (its BiDi mode).
  bool RightToLeft = false;
  TOffBtnState State = TOffBtnState::bsInactive;
  std::string Caption;
  // Size of the glyph that CurrentGlyph selects (0 x 0 when it is empty).
  std::int32_t GlyphWidth = 0;
  std::int32_t GlyphHeight = 0;
};

// The caption's size and its wrap.
struct CaptionText {
  Rect TxtRect;  // at (0, 0)
  WrapText Wrap;
  // Width of the wrapped lines; the caption's one-line width when it fits.
  std::int32_t WrapWidth = 0;
};

// Wraps the caption to the width left beside or around the glyph. When the
// caption does not fit, the rectangle is WrapWidth wide and one line height
// (of "0") per line high, 0 high when the wrap failed.
CaptionText CalculateTxt(const OffBtnLayoutInput& button, const MeasureText& measure);

struct LayoutRects {
  Rect Caption;
  Rect Glyph;
};

// Draws the focus mark on the placed rectangles, before the pressed offset.
using FocusMarkPainter = std::function<void(const LayoutRects& placed)>;

// Places the caption (of the size of `caption`, from CalculateTxt or the
// one-line size) and the glyph (GlyphWidth x GlyphHeight) in the button,
// calls `drawFocusMark` if given, then moves both one pixel right and down
// for a pressed bsButton. Without ShowGlyph the glyph stays at (0, 0).
LayoutRects Layout(const OffBtnLayoutInput& button, const Rect& caption,
                   const MeasureText& measure, const FocusMarkPainter& drawFocusMark = nullptr);

// The height the button takes when AutoHeight is on. `measure` must use the
// button's Font: never the hover font, never bold.
std::int32_t AdjustHeight(const OffBtnLayoutInput& button, const MeasureText& measure);

}  // namespace controls
