#include "controls/offbtn/offbtn_layout.h"

#include <algorithm>

namespace controls {
namespace {

// Rounds toward zero, which C++ division does: a button narrower than its
// caption gets a negative offset one closer to zero than a floor would.
std::int32_t Half(std::int32_t x) { return x / 2; }

Rect At(std::int32_t left, std::int32_t top, const Rect& size) {
  return Rect{left, top, left + size.Width(), top + size.Height()};
}

bool IsLeftOrRight(TGlyphPosition position) {
  return position == TGlyphPosition::bsLeft || position == TGlyphPosition::bsRight;
}

// The glyph beside, above, below or under the caption of a push button.
LayoutRects PlaceButtonWithGlyph(const OffBtnLayoutInput& b, const Rect& caption,
                                 const Rect& glyph) {
  const std::int32_t tw = caption.Width(), th = caption.Height();
  const std::int32_t gw = glyph.Width(), gh = glyph.Height();
  TGlyphPosition position = b.Position;
  if (b.RightToLeft && position == TGlyphPosition::bsLeft) {
    position = TGlyphPosition::bsRight;
  } else if (b.RightToLeft && position == TGlyphPosition::bsRight) {
    position = TGlyphPosition::bsLeft;
  }

  std::int32_t glyphLeft = 0, glyphTop = 0, captionLeft = 0, captionTop = 0;
  switch (position) {
    case TGlyphPosition::bsTop:
    case TGlyphPosition::bsBottom:
      glyphLeft = Half(b.Width - gw - 1) + 1;
      captionLeft = Half(b.Width - tw - 1) + 1;
      glyphTop = 6;
      captionTop = Half(b.Height - gh - th - 1) + gh + 1;
      if (position == TGlyphPosition::bsBottom) {
        glyphTop = b.Height - 6 - gh - 1;
        captionTop = b.Height - captionTop - th - 1;
      }
      break;
    case TGlyphPosition::bsLeft:
    case TGlyphPosition::bsRight:
      glyphTop = Half(b.Height - gh - 1) + 1;
      captionTop = Half(b.Height - th - 1) + 1;
      glyphLeft = 6;
      captionLeft = Half(b.Width - gw - tw - 1) + gw + 1;
      if (position == TGlyphPosition::bsRight) {
        glyphLeft = b.Width - 6 - gw - 1;
        captionLeft = b.Width - captionLeft - tw - 1;
      }
      break;
    case TGlyphPosition::bsCenter:
      glyphTop = Half(b.Height - gh - 1) + 1;
      glyphLeft = Half(b.Width - gw - 1) + 1;
      captionTop = Half(b.Height - th - 1) + 1;
      captionLeft = Half(b.Width - tw - 1) + 1;
      break;
  }
  return {At(captionLeft, captionTop, caption), At(glyphLeft, glyphTop, glyph)};
}

// The small-glyph kinds: glyph at the left (right when right-to-left), the
// caption after it, both near the top (or the bottom).
LayoutRects PlaceSmallKindWithGlyph(const OffBtnLayoutInput& b, const Rect& caption,
                                    const Rect& glyph, const MeasureText& measure) {
  const std::int32_t tw = caption.Width(), th = caption.Height();
  const std::int32_t gw = glyph.Width(), gh = glyph.Height();
  // Centred on the first line, whatever the number of lines.
  const std::int32_t d = measure(b.Caption).Height - gh;
  std::int32_t glyphTop = d < 2 ? 2 : Half(d) + 2;
  std::int32_t captionTop = 2;
  std::int32_t glyphLeft = 2;
  std::int32_t captionLeft = gw + 7;
  if (b.RightToLeft) {
    glyphLeft = b.Width - gw - 2;
    captionLeft = b.Width - tw - gw - 7;
  }
  if (b.Position == TGlyphPosition::bsBottom) {
    glyphTop = b.Height - glyphTop - gh - 1;
    captionTop = b.Height - 2 - th - 1;
  }
  return {At(captionLeft, captionTop, caption), At(glyphLeft, glyphTop, glyph)};
}

LayoutRects Place(const OffBtnLayoutInput& b, const Rect& caption, const MeasureText& measure) {
  const Rect glyph{0, 0, b.GlyphWidth, b.GlyphHeight};
  const bool button = b.ControlType == TOffBtnType::bsButton;
  if (b.ShowGlyph) {
    return button ? PlaceButtonWithGlyph(b, caption, glyph)
                  : PlaceSmallKindWithGlyph(b, caption, glyph, measure);
  }
  if (button) {
    return {At(Half(b.Width - caption.Width() - 1) + 1,
               Half(b.Height - caption.Height() - 1) + 1, caption),
            glyph};
  }
  const std::int32_t left = b.RightToLeft ? b.Width - caption.Width() - 2 : 2;
  return {At(left, 2, caption), glyph};
}

Rect Moved(const Rect& r, std::int32_t dx, std::int32_t dy) {
  return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

CaptionText CalculateTxt(const OffBtnLayoutInput& b, const MeasureText& measure) {
  CaptionText result;
  const std::int32_t gw = b.GlyphWidth;
  if (b.ControlType == TOffBtnType::bsButton) {
    result.WrapWidth =
        b.ShowGlyph && IsLeftOrRight(b.Position) ? b.Width - gw - 18 : b.Width - 13;
  } else {
    result.WrapWidth = b.ShowGlyph ? b.Width - gw - 10 : b.Width - 5;
  }
  result.Wrap = GetWrapText(b.Caption, result.WrapWidth, measure);

  const TextSize oneLine = measure(b.Caption);
  if (oneLine.Width > result.WrapWidth) {
    result.TxtRect = Rect{0, 0, result.WrapWidth, LineHeight(measure) * result.Wrap.WrapLineCount()};
  } else {
    result.WrapWidth = oneLine.Width;
    result.TxtRect = Rect{0, 0, oneLine.Width, oneLine.Height};
  }
  return result;
}

LayoutRects Layout(const OffBtnLayoutInput& b, const Rect& caption, const MeasureText& measure,
                   const FocusMarkPainter& drawFocusMark) {
  LayoutRects rects = Place(b, caption, measure);
  if (drawFocusMark) drawFocusMark(rects);
  // Only the push button shows the press by moving its content.
  if (b.State == TOffBtnState::bsDown && b.ControlType == TOffBtnType::bsButton) {
    rects.Caption = Moved(rects.Caption, 1, 1);
    if (b.ShowGlyph) rects.Glyph = Moved(rects.Glyph, 1, 1);
  }
  return rects;
}

std::int32_t AdjustHeight(const OffBtnLayoutInput& b, const MeasureText& measure) {
  const bool button = b.ControlType == TOffBtnType::bsButton;
  std::int32_t h = b.WordWrap ? CalculateTxt(b, measure).TxtRect.bottom : measure(b.Caption).Height;
  if (b.ShowGlyph) {
    const std::int32_t gh = b.GlyphHeight;
    const bool above = b.Position == TGlyphPosition::bsTop || b.Position == TGlyphPosition::bsBottom;
    if (button && above) {
      h += gh + 4;
    } else {
      h = std::max(h, gh);
    }
  }
  return h + (button ? 10 : 5);
}

}  // namespace controls
