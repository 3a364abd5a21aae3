#pragma once
// Colour values of the controls: 0x00BBGGRR, or 0x800000nn for the Windows
// system colour with index nn, which is looked up each time it is drawn so
// that a change of the user's colour scheme shows at the next paint.

#include <cstdint>

namespace ui {

using Colour = std::uint32_t;

inline constexpr Colour kSystemColourFlag = 0x80000000;

// The system colours the controls name.
inline constexpr Colour kColourWindow = 0x80000005;        // COLOR_WINDOW
inline constexpr Colour kColourWindowText = 0x80000008;    // COLOR_WINDOWTEXT
inline constexpr Colour kColourBtnFace = 0x8000000F;       // COLOR_BTNFACE
inline constexpr Colour kColourBtnShadow = 0x80000010;     // COLOR_BTNSHADOW
inline constexpr Colour kColourBtnHighlight = 0x80000014;  // COLOR_BTNHIGHLIGHT

constexpr bool IsSystemColour(Colour colour) { return (colour & kSystemColourFlag) != 0; }

constexpr int SystemColourIndex(Colour colour) { return static_cast<int>(colour & 0xFF); }

constexpr Colour SystemColour(int index) {
  return kSystemColourFlag | (static_cast<Colour>(index) & 0xFF);
}

// The RGB value to draw with. `systemColour(index)` answers the current
// colour of a system colour index (GetSysColor on Windows). The top byte is
// dropped from plain values so that no device ever reads it as a palette
// index.
template <typename SystemColourLookup>
constexpr Colour ResolveColour(Colour colour, SystemColourLookup&& systemColour) {
  if (IsSystemColour(colour)) {
    return static_cast<Colour>(systemColour(SystemColourIndex(colour))) & 0x00FFFFFF;
  }
  return colour & 0x00FFFFFF;
}

}  // namespace ui
