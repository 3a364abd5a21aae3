#pragma once
// Enumerations of the flat button TOffice97Button. The numeric values are
// those stored in form files, so the order of the names is fixed.

#include <cstdint>

namespace controls {

enum class TOffBtnType : std::int32_t {
  bsButton,
  bsRadioButton,
  bsUpButton,
  bsDownButton,
  bsHintButton,
};

enum class TOffBtnState : std::int32_t {
  bsInactive,    // pointer not over the button, not pressed
  bsActive,      // pointer over it, or it has the focus
  bsDown,        // left button pressed with the pointer over it
  bsDownAndOut,  // left button still pressed, pointer moved off
};

enum class TGlyphPosition : std::int32_t {
  bsTop,
  bsBottom,
  bsLeft,
  bsRight,
  bsCenter,
};

enum class TOffBtnAbout : std::int32_t {
  abNone,
  abAbout,
};

}  // namespace controls
