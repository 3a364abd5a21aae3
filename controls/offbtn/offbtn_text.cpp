#include "controls/offbtn/offbtn_text.h"

#include <cstddef>

#include "ui/utf8.h"

namespace controls {

std::int32_t LineHeight(const MeasureText& measure) { return measure("0").Height; }

WrapText GetWrapText(std::string_view text, std::int32_t maxWidth, const MeasureText& measure) {
  WrapText result;
  if (measure(text).Width <= maxWidth) {
    result.WrapLines.emplace_back(text);
    return result;
  }

  // Positions are byte offsets at character boundaries. The only break
  // character is the one-byte space, so "characters before the space" and
  // "bytes before the space" are the same cut.
  const std::size_t n = text.size();
  std::size_t pos = 0;
  bool started = false;
  std::size_t start = 0;
  while (pos < n) {
    if (started && pos == start) {
      // The last line took nothing: this width cannot show the caption.
      result.WrapLines.clear();
      return result;
    }
    started = true;
    start = pos;
    std::string line;
    std::size_t lastSpace = 0;
    while (pos < n) {
      const std::size_t length = ui::Utf8CharLength(text, pos);
      std::string candidate = line;
      candidate.append(text.substr(pos, length));
      if (measure(candidate).Width > maxWidth) break;
      line = std::move(candidate);
      pos += length;
      if (length == 1 && text[pos - 1] == ' ') lastSpace = line.size() - 1;
    }
    // A space at the very start of a line is no break: cutting there would
    // make an empty line and no progress.
    if (pos < n && lastSpace != 0) {
      line.resize(lastSpace);
      pos = start + lastSpace + 1;
    }
    result.WrapLines.push_back(std::move(line));
  }
  return result;
}

}  // namespace controls
