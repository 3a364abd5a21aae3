#pragma once
// The flat button's two frame tables as they are written (pen, polyline,
// single pixels afterwards, row by row; R and B are the client width and
// height), and the pixels they paint: a frame test compares GDI's drawing
// with these and not with the drawing code's own coordinates.

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "controls/offbtn/offbtn_types.h"
#include "controls/offbtn/win32/offbtn_paint.h"
#include "ui/geometry.h"
#include "ui/win32/gdi_colour.h"

namespace offbtn_test {

// One table row: the states it starts (empty: the rows above go on), the
// pen (empty: the pen of the row above), the polyline and the pixels.
struct FrameRow {
  const char* states;
  const char* pen;
  const char* polyline;
  const char* pixels;
};

// DrawFrame, the Office 97 look.
inline constexpr FrameRow kDrawFrameTable[] = {
    {"bsInactive, bsDownAndOut", "InactiveColor",
     "(8,2) (7,3) (6,3) (3,6) (3,7) (2,8) (2,B-8) (3,B-7) (3,B-6) (6,B-3) (7,B-3) "
     "(8,B-2) (R-8,B-2) (R-7,B-3) (R-6,B-3) (R-3,B-6) (R-3,B-7) (R-2,B-8) (R-2,8) "
     "(R-3,7) (R-3,6) (R-6,3) (R-7,3) (R-8,2) (8,2)",
     "(8,2)"},
    {"bsActive", "InactiveColor",
     "(R-8,1) (8,1) (7,2) (6,2) (2,6) (2,7) (1,8) (1,B-8) (2,B-7) (2,B-6) (5,B-3)",
     "(5,B-3), (7,B-2)"},
    {"", "",
     "(5,B-5) (6,B-4) (7,B-4) (8,B-3) (R-8,B-3) (R-3,B-8) (R-3,8) (R-2,7)",
     "(R-2,7), (R-7,B-2)"},
    {"", "",
     "(R-5,B-3) (R-3,B-5)",
     "(R-3,B-5)"},
    {"", "",
     "(R-6,B-4) (R-4,B-6)",
     "(R-4,B-6), (R-2,B-7), (R-2,7)"},
    {"", "",
     "(R-4,6) (R-5,5)",
     "(R-5,5)"},
    {"", "",
     "(R-3,5) (R-6,2)",
     "(R-6,2)"},
    {"", "ActiveColor",
     "(8,2) (7,3) (6,3) (3,6) (3,7) (2,8) (2,B-8) (3,B-7) (3,B-6) (6,B-3) (7,B-3) "
     "(8,B-2) (R-8,B-2) (R-7,B-3) (R-6,B-3) (R-3,B-6) (R-3,B-7) (R-2,B-8) (R-2,8) "
     "(R-3,7) (R-3,6) (R-7,2) (8,2)",
     "(8,2)"},
    {"", "ActiveOutlineColor",
     "(R-7,3) (8,3) (3,8) (3,B-8)",
     "(3,B-8)"},
    {"", "",
     "(R-6,5) (R-6,4) (8,4) (4,8) (4,B-6) (5,B-6)",
     "(5,B-6)"},
    {"", "",
     "(6,4) (4,6)",
     "(4,6)"},
    {"bsDown", "InactiveColor",
     "(R-8,1) (8,1) (7,2) (6,2) (2,6) (2,7) (1,8) (1,B-8) (2,B-7) (2,B-6) (4,B-4) "
     "(5,B-4) (6,B-3) (7,B-3) (8,B-2) (R-8,B-2) (R-7,B-3) (R-6,B-3) (R-3,B-6) "
     "(R-3,B-7) (R-2,B-8) (R-2,8) (R-3,7) (R-3,6)",
     "(R-3,6), (8,3)"},
    {"", "",
     "(6,4) (4,6)",
     "(4,6)"},
    {"", "",
     "(3,8) (3,B-8)",
     "(3,B-8), (4,B-6)"},
    {"", "",
     "(R-4,4) (R-6,2)",
     "(R-6,2), (R-7,3)"},
    {"", "ActiveColor",
     "(R-4,5) (R-7,2) (8,2) (7,3) (6,3) (3,6) (3,7) (2,8) (2,B-8) (3,B-7) (3,B-6) "
     "(4,B-5)",
     "(4,B-5)"},
    {"", "ActiveOutlineColor",
     "(7,5) (5,7) (5,B-5)",
     "(5,B-5)"},
    {"", "",
     "(R-8,3) (9,3)",
     "(9,3)"},
    {"", "",
     "(5,B-3) (6,B-2) (7,B-2) (7,B-1) (R-6,B-1) (R-1,B-6) (R-1,8) (R-2,7) (R-2,6) "
     "(R-3,5) (R-4,6) (R-5,5) (R-6,5) (R-6,4) (7,4) (4,7) (4,B-7)",
     "(4,B-7)"},
    {"", "",
     "(R-4,B-2) (R-1,B-5)",
     "(R-1,B-5)"},
    {"", "",
     "(R-7,B-2) (R-6,B-2) (R-2,B-6) (R-2,B-7)",
     "(R-2,B-7)"},
};

// DrawOffice2000Frame, the Office 2000 look.
inline constexpr FrameRow kDrawOffice2000FrameTable[] = {
    {"bsInactive, bsDownAndOut", "InactiveColor",
     "(3,1) (1,3) (1,B-4) (3,B-2) (R-4,B-2) (R-2,B-4) (R-2,3) (R-4,1) (3,1)",
     ""},
    {"bsActive", "InactiveColor",
     "",
     "(R-2,3), (2,B-3)"},
    {"", "ActiveColor",
     "(R-2,4) (R-2,B-4) (R-4,B-2) (3,B-2)",
     "(3,B-2)"},
    {"", "ActiveOutlineColor",
     "(R-3,2) (R-4,1) (3,1) (1,3) (1,B-4)",
     "(1,B-4)"},
    {"", "ActiveOutlineColor2",
     "(3,0) (0,3) (0,B-4) (3,B-1) (R-4,B-1) (R-1,B-4) (R-1,3) (R-4,0) (3,0)",
     ""},
    {"bsDown", "InactiveColor",
     "",
     "(R-3,2), (1,B-4)"},
    {"", "ActiveColor",
     "(R-4,1) (3,1) (1,3) (1,B-5)",
     "(1,B-5)"},
    {"", "ActiveOutlineColor",
     "(R-2,2) (R-1,3) (R-1,B-4) (R-4,B-1) (3,B-1) (1,B-3)",
     "(1,B-3)"},
    {"", "ActiveOutlineColor2",
     "(R-3,1) (R-4,0) (3,0) (0,3) (0,B-4)",
     "(0,B-4)"},
    {"", "",
     "(R-2,3) (R-2,B-4) (R-4,B-2) (3,B-2) (2,B-3)",
     "(2,B-3)"},
};

// The points of "(x,y) (x,y)" or "(x,y), (x,y)"; a coordinate is n, R-n or B-n.
inline std::vector<ui::Point> ParsePoints(std::string_view text, int R, int B) {
  std::vector<ui::Point> points;
  auto coordinate = [&](std::size_t& at) {
    int base = 0;
    int sign = 1;
    if (text[at] == 'R' || text[at] == 'B') {
      base = text[at] == 'R' ? R : B;
      ++at;
      if (text[at] != '-') return base;
      sign = -1;
      ++at;
    }
    int value = 0;
    while (std::isdigit(static_cast<unsigned char>(text[at]))) value = value * 10 + (text[at++] - '0');
    return base + sign * value;
  };
  for (std::size_t at = text.find('('); at != std::string_view::npos; at = text.find('(', at)) {
    ++at;
    const int x = coordinate(at);
    EXPECT_EQ(text[at], ',') << text;
    ++at;
    const int y = coordinate(at);
    EXPECT_EQ(text[at], ')') << text;
    points.push_back({x, y});
  }
  return points;
}

// The pixels a one-pixel polyline paints when its segments are horizontal,
// vertical or at 45 degrees, as every segment of the tables is: each
// segment without its end point.
inline std::vector<ui::Point> PolylinePixels(const std::vector<ui::Point>& points) {
  std::vector<ui::Point> pixels;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const ui::Point a = points[i];
    const ui::Point b = points[i + 1];
    const int dx = b.x - a.x;
    const int dy = b.y - a.y;
    if (dx != 0 && dy != 0 && std::abs(dx) != std::abs(dy)) {
      ADD_FAILURE() << "segment (" << a.x << "," << a.y << ") (" << b.x << "," << b.y
                    << ") is not straight or diagonal";
      continue;
    }
    const int sx = (dx > 0) - (dx < 0);
    const int sy = (dy > 0) - (dy < 0);
    for (ui::Point p = a; p != b; p = {p.x + sx, p.y + sy}) pixels.push_back(p);
  }
  return pixels;
}

// (x, y) -> the colour the frame leaves there (RGB).
using PixelMap = std::map<std::pair<int, int>, ui::Colour>;

inline const char* StateName(controls::TOffBtnState state) {
  switch (state) {
    case controls::TOffBtnState::bsInactive: return "bsInactive";
    case controls::TOffBtnState::bsActive: return "bsActive";
    case controls::TOffBtnState::bsDown: return "bsDown";
    case controls::TOffBtnState::bsDownAndOut: return "bsDownAndOut";
  }
  return "?";
}

// Whether a row's state list ("bsInactive, bsDownAndOut") names `state`.
inline bool Names(std::string_view states, controls::TOffBtnState state) {
  const std::string_view name = StateName(state);
  while (!states.empty()) {
    const std::size_t comma = states.find(',');
    std::string_view item = states.substr(0, comma);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    if (item == name) return true;
    if (comma == std::string_view::npos) break;
    states.remove_prefix(comma + 1);
  }
  return false;
}

inline ui::Colour PenColour(std::string_view pen, const controls::FrameColours& colours) {
  const ui::Colour colour = pen == "InactiveColor"        ? colours.inactive
                            : pen == "ActiveColor"        ? colours.active
                            : pen == "ActiveOutlineColor" ? colours.activeOutline
                                                          : colours.activeOutline2;
  EXPECT_TRUE(pen == "InactiveColor" || pen == "ActiveColor" || pen == "ActiveOutlineColor" ||
              pen == "ActiveOutlineColor2")
      << pen;
  return ui::win32::ToColorRef(colour);
}

// Every pixel the rows of `state` paint, in the order they paint them, on
// a button R x B; a row without a pen keeps the pen of the row above.
inline PixelMap FramePixels(std::span<const FrameRow> table, controls::TOffBtnState state,
                            const controls::FrameColours& colours, int R, int B) {
  PixelMap painted;
  bool inState = false;
  ui::Colour pen = 0;
  for (const FrameRow& row : table) {
    if (*row.states != '\0') inState = Names(row.states, state);
    if (!inState) continue;
    if (*row.pen != '\0') pen = PenColour(row.pen, colours);
    for (const ui::Point p : PolylinePixels(ParsePoints(row.polyline, R, B))) painted[{p.x, p.y}] = pen;
    for (const ui::Point p : ParsePoints(row.pixels, R, B)) painted[{p.x, p.y}] = pen;
  }
  EXPECT_FALSE(painted.empty()) << "no rows for " << StateName(state);
  return painted;
}

}  // namespace offbtn_test
