#include "controls/offbtn/win32/offbtn_paint.h"

#include <initializer_list>
#include <span>


namespace controls {

using ui::Colour;
using ui::Point;
using ui::win32::Canvas;
using ui::win32::Pen;
using ui::win32::PenStyle;
using S = TOffBtnState;

namespace {

// Draws a frame table row by row: a pen, a polyline, single pixels in that
// pen's colour.
class FramePen {
 public:
  explicit FramePen(Canvas& canvas) : canvas_(canvas) {}
  void Use(Colour colour) {
    colour_ = colour;
    canvas_.SetPen(Pen{colour, PenStyle::kSolid});
  }
  void Line(std::initializer_list<Point> points) {
    canvas_.Polyline(std::span<const Point>(points.begin(), points.size()));
  }
  void Pixels(std::initializer_list<Point> points) {
    for (const Point& p : points) canvas_.SetPixel(p, colour_);
  }

 private:
  Canvas& canvas_;
  Colour colour_ = 0;
};

}  // namespace

FrameColours FrameColoursOf(const TOffice97Button& button) {
  return FrameColours{button.InactiveColor(), button.ActiveColor(), button.ActiveOutlineColor(),
                      button.ActiveOutlineColor2()};
}

void DrawFrame(Canvas& canvas, TOffBtnState state, const FrameColours& k, int R, int B) {
  FramePen p(canvas);
  p.Use(k.inactive);
  switch (state) {
    case S::bsInactive:
    case S::bsDownAndOut:
      p.Line({{8, 2},         {7, 3},         {6, 3},         {3, 6},         {3, 7},
              {2, 8},         {2, B - 8},     {3, B - 7},     {3, B - 6},     {6, B - 3},
              {7, B - 3},     {8, B - 2},     {R - 8, B - 2}, {R - 7, B - 3}, {R - 6, B - 3},
              {R - 3, B - 6}, {R - 3, B - 7}, {R - 2, B - 8}, {R - 2, 8},     {R - 3, 7},
              {R - 3, 6},     {R - 6, 3},     {R - 7, 3},     {R - 8, 2},     {8, 2}});
      p.Pixels({{8, 2}});
      break;
    case S::bsActive:
      // Raised: a shadow rim outside, a highlight inside the top and left.
      p.Line({{R - 8, 1}, {8, 1}, {7, 2}, {6, 2}, {2, 6}, {2, 7}, {1, 8}, {1, B - 8}, {2, B - 7},
              {2, B - 6}, {5, B - 3}});
      p.Pixels({{5, B - 3}, {7, B - 2}});
      p.Line({{5, B - 5}, {6, B - 4}, {7, B - 4}, {8, B - 3}, {R - 8, B - 3}, {R - 3, B - 8},
              {R - 3, 8}, {R - 2, 7}});
      p.Pixels({{R - 2, 7}, {R - 7, B - 2}});
      p.Line({{R - 5, B - 3}, {R - 3, B - 5}});
      p.Pixels({{R - 3, B - 5}});
      p.Line({{R - 6, B - 4}, {R - 4, B - 6}});
      p.Pixels({{R - 4, B - 6}, {R - 2, B - 7}, {R - 2, 7}});
      p.Line({{R - 4, 6}, {R - 5, 5}});
      p.Pixels({{R - 5, 5}});
      p.Line({{R - 3, 5}, {R - 6, 2}});
      p.Pixels({{R - 6, 2}});
      p.Use(k.active);
      p.Line({{8, 2},         {7, 3},         {6, 3},         {3, 6},         {3, 7},
              {2, 8},         {2, B - 8},     {3, B - 7},     {3, B - 6},     {6, B - 3},
              {7, B - 3},     {8, B - 2},     {R - 8, B - 2}, {R - 7, B - 3}, {R - 6, B - 3},
              {R - 3, B - 6}, {R - 3, B - 7}, {R - 2, B - 8}, {R - 2, 8},     {R - 3, 7},
              {R - 3, 6},     {R - 7, 2},     {8, 2}});
      p.Pixels({{8, 2}});
      p.Use(k.activeOutline);
      p.Line({{R - 7, 3}, {8, 3}, {3, 8}, {3, B - 8}});
      p.Pixels({{3, B - 8}});
      p.Line({{R - 6, 5}, {R - 6, 4}, {8, 4}, {4, 8}, {4, B - 6}, {5, B - 6}});
      p.Pixels({{5, B - 6}});
      p.Line({{6, 4}, {4, 6}});
      p.Pixels({{4, 6}});
      break;
    case S::bsDown:
      // Sunken: the highlight runs along the bottom and right.
      p.Line({{R - 8, 1},     {8, 1},         {7, 2},         {6, 2},         {2, 6},
              {2, 7},         {1, 8},         {1, B - 8},     {2, B - 7},     {2, B - 6},
              {4, B - 4},     {5, B - 4},     {6, B - 3},     {7, B - 3},     {8, B - 2},
              {R - 8, B - 2}, {R - 7, B - 3}, {R - 6, B - 3}, {R - 3, B - 6}, {R - 3, B - 7},
              {R - 2, B - 8}, {R - 2, 8},     {R - 3, 7},     {R - 3, 6}});
      p.Pixels({{R - 3, 6}, {8, 3}});
      p.Line({{6, 4}, {4, 6}});
      p.Pixels({{4, 6}});
      p.Line({{3, 8}, {3, B - 8}});
      p.Pixels({{3, B - 8}, {4, B - 6}});
      p.Line({{R - 4, 4}, {R - 6, 2}});
      p.Pixels({{R - 6, 2}, {R - 7, 3}});
      p.Use(k.active);
      p.Line({{R - 4, 5}, {R - 7, 2}, {8, 2}, {7, 3}, {6, 3}, {3, 6}, {3, 7}, {2, 8}, {2, B - 8},
              {3, B - 7}, {3, B - 6}, {4, B - 5}});
      p.Pixels({{4, B - 5}});
      p.Use(k.activeOutline);
      p.Line({{7, 5}, {5, 7}, {5, B - 5}});
      p.Pixels({{5, B - 5}});
      p.Line({{R - 8, 3}, {9, 3}});
      p.Pixels({{9, 3}});
      p.Line({{5, B - 3},     {6, B - 2}, {7, B - 2}, {7, B - 1}, {R - 6, B - 1}, {R - 1, B - 6},
              {R - 1, 8},     {R - 2, 7}, {R - 2, 6}, {R - 3, 5}, {R - 4, 6},     {R - 5, 5},
              {R - 6, 5},     {R - 6, 4}, {7, 4},     {4, 7},     {4, B - 7}});
      p.Pixels({{4, B - 7}});
      p.Line({{R - 4, B - 2}, {R - 1, B - 5}});
      p.Pixels({{R - 1, B - 5}});
      p.Line({{R - 7, B - 2}, {R - 6, B - 2}, {R - 2, B - 6}, {R - 2, B - 7}});
      p.Pixels({{R - 2, B - 7}});
      break;
  }
}

void DrawOffice2000Frame(Canvas& canvas, TOffBtnState state, const FrameColours& k, int R, int B) {
  FramePen p(canvas);
  p.Use(k.inactive);
  switch (state) {
    case S::bsInactive:
    case S::bsDownAndOut:
      p.Line({{3, 1}, {1, 3}, {1, B - 4}, {3, B - 2}, {R - 4, B - 2}, {R - 2, B - 4}, {R - 2, 3},
              {R - 4, 1}, {3, 1}});
      break;
    case S::bsActive:
      // An outer ring, a highlight at top-left, a shadow at bottom-right.
      p.Pixels({{R - 2, 3}, {2, B - 3}});
      p.Use(k.active);
      p.Line({{R - 2, 4}, {R - 2, B - 4}, {R - 4, B - 2}, {3, B - 2}});
      p.Pixels({{3, B - 2}});
      p.Use(k.activeOutline);
      p.Line({{R - 3, 2}, {R - 4, 1}, {3, 1}, {1, 3}, {1, B - 4}});
      p.Pixels({{1, B - 4}});
      p.Use(k.activeOutline2);
      p.Line({{3, 0}, {0, 3}, {0, B - 4}, {3, B - 1}, {R - 4, B - 1}, {R - 1, B - 4}, {R - 1, 3},
              {R - 4, 0}, {3, 0}});
      break;
    case S::bsDown:
      // Highlight and shadow swapped.
      p.Pixels({{R - 3, 2}, {1, B - 4}});
      p.Use(k.active);
      p.Line({{R - 4, 1}, {3, 1}, {1, 3}, {1, B - 5}});
      p.Pixels({{1, B - 5}});
      p.Use(k.activeOutline);
      p.Line({{R - 2, 2}, {R - 1, 3}, {R - 1, B - 4}, {R - 4, B - 1}, {3, B - 1}, {1, B - 3}});
      p.Pixels({{1, B - 3}});
      p.Use(k.activeOutline2);
      p.Line({{R - 3, 1}, {R - 4, 0}, {3, 0}, {0, 3}, {0, B - 4}});
      p.Pixels({{0, B - 4}});
      p.Line({{R - 2, 3}, {R - 2, B - 4}, {R - 4, B - 2}, {3, B - 2}, {2, B - 3}});
      p.Pixels({{2, B - 3}});
      break;
  }
}

}  // namespace controls
