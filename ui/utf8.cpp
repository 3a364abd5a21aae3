#include "ui/utf8.h"

namespace ui {

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
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
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

std::optional<char32_t> Utf8CodePointAt(std::string_view text, std::size_t pos) {
  const std::size_t length = Utf8CharLength(text, pos);
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (length == 1) {
    if (lead < 0x80) return lead;
    return std::nullopt;
  }
  char32_t cp = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    cp = (cp << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
  }
  return cp;
}

}  // namespace ui
