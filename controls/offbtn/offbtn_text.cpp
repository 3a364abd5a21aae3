#include "controls/offbtn/offbtn_text.h"

#include <cstddef>

namespace controls {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of the character that begins at text[pos]. Only a well-formed UTF-8
// sequence (no overlong form, no surrogate, nothing above U+10FFFF) is taken
// as one character; any other byte stands alone, so a broken sequence never
// swallows the valid characters after it.
std::size_t CharLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 1;
  unsigned char secondMin = 0x80;
  unsigned char secondMax = 0xBF;
  if (lead < 0x80) {
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) secondMin = 0xA0;
    if (lead == 0xED) secondMax = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) secondMin = 0x90;
    if (lead == 0xF4) secondMax = 0x8F;
  } else {
    return 1;
  }
  if (length > text.size() - pos) return 1;
  const auto second = static_cast<unsigned char>(text[pos + 1]);
  if (second < secondMin || second > secondMax) return 1;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[pos + i]))) return 1;
  }
  return length;
}

}  // namespace

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
      const std::size_t length = CharLength(text, pos);
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
