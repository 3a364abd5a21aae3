#pragma once
// Fixed text metrics for the layout tests: every character is CharWidth
// pixels wide (a few may be given other widths) and every text LineHeight
// pixels high. Text handed in must be well-formed UTF-8 unless the canvas
// counts bytes, so a wrap that splits a multi-byte character fails the test.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "controls/offbtn/offbtn_text.h"

namespace controls::testing {

class FakeCanvas {
 public:
  std::int32_t CharWidth = 6;
  std::int32_t LineHeight = 13;
  std::map<char, std::int32_t> Widths;  // ASCII characters of other widths
  bool BytesAreCharacters = false;      // for malformed captions

  MeasureText Measure() const {
    return [this](std::string_view text) { return TextSize{WidthOf(text), LineHeight}; };
  }

 private:
  std::int32_t WidthOf(std::string_view text) const {
    std::int32_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
      const auto lead = static_cast<unsigned char>(text[i]);
      std::size_t length = 1;
      if (!BytesAreCharacters) {
        length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        bool wellFormed = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
          wellFormed = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        }
        if (!wellFormed) {
          ADD_FAILURE() << "asked to measure broken UTF-8 at byte " << i << " of \""
                        << std::string(text) << "\"";
          return width;
        }
      }
      const auto found = length == 1 ? Widths.find(text[i]) : Widths.end();
      width += found != Widths.end() ? found->second : CharWidth;
      i += length;
    }
    return width;
  }
};

}  // namespace controls::testing
