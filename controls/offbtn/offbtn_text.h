#pragma once
// Caption measuring and word wrap of the flat button. Portable: the text is
// measured through a function the caller hands in (the work canvas with the
// font of the running operation on Windows, fixed metrics in tests).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace controls {

// Pixel size of one line of text, as the canvas would draw it.
struct TextSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

// Measures UTF-8 text as one line on the current canvas.
using MeasureText = std::function<TextSize(std::string_view text)>;

// The height of "0": the line height of wrapped captions.
std::int32_t LineHeight(const MeasureText& measure);

// The result of a word wrap. No lines means the wrap failed (not even one
// character fitted at the start of some line); one line means the caption
// fits as it is.
struct WrapText {
  std::vector<std::string> WrapLines;

  std::int32_t WrapLineCount() const { return static_cast<std::int32_t>(WrapLines.size()); }
};

// Wraps `text` into lines no wider than `maxWidth`. A line ends before the
// last space that fits and the next begins after it (the space is dropped);
// a word wider than a line is cut inside. A character is one Unicode code
// point: a multi-byte sequence is never split, and a malformed byte counts
// as a character of its own. Lines have no length limit.
WrapText GetWrapText(std::string_view text, std::int32_t maxWidth, const MeasureText& measure);

}  // namespace controls
