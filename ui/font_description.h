#pragma once
// A plain description of a font, all a canvas needs to make the GDI font:
// the painting fills it from a control's Font (Describe) and adjusts it
// (bold for a default button, the colour of a disabled one).

#include <cstdint>
#include <string>

#include "ui/colour.h"
#include "ui/font.h"

namespace ui {

struct FontDescription {
  std::string name = Font::kDefaultName;
  // Point size, converted with the device's vertical resolution. Used when
  // `height` is 0.
  int size = Font::kDefaultSize;
  // Height in pixels as GDI takes it: negative for the character height,
  // positive for the cell height, 0 to use `size`.
  int height = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  Colour colour = Font::kDefaultColor;
  std::uint8_t charset = Font::kDefaultCharset;

  friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

inline FontDescription Describe(const Font& font) {
  FontDescription d;
  d.name = font.Name();
  d.size = font.Size();
  d.height = font.PixelHeight();
  d.bold = (font.Style() & Font::kBold) != 0;
  d.italic = (font.Style() & Font::kItalic) != 0;
  d.underline = (font.Style() & Font::kUnderline) != 0;
  d.strikeout = (font.Style() & Font::kStrikeOut) != 0;
  d.colour = font.Color();
  d.charset = static_cast<std::uint8_t>(font.Charset());
  return d;
}

}  // namespace ui
