#pragma once
// Which keys click the flat button. The hosted button translates the
// window messages into these questions and acts on the answers.

#include <string_view>

#include "ui/input.h"

namespace controls {

// A key pressed while the button has the focus: Enter or Space click it
// while it is key-active.
bool KeyDownClicks(int key, bool keyActive);

enum class DialogKeyAnswer {
  KeyboardClick,  // click the button and report the key handled
  RestAndPassOn,  // Alt+F4: the button goes to rest, the form handles the key
  PassOn,         // not the button's key
};

// A key the form offers its controls: Enter or Space while key-active
// (whatever shift keys are held); Escape on a cancel button that can take
// the focus, but only with no shift key held.
DialogKeyAnswer DialogKey(int key, ui::ShiftState shift, bool keyActive, bool cancel,
                          bool canFocus);

// Whether `typed` is the accelerator of `caption`: the character after a
// single "&" ("&&" stands for a plain ampersand), compared without regard
// to case. `typed` is a Unicode code point; the caption is UTF-8.
bool IsAccelerator(char32_t typed, std::string_view caption);

}  // namespace controls
