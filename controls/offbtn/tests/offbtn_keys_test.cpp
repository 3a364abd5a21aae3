// Which keys click the flat button: Enter and Space while key-active,
// Escape on a cancel button without shift keys, the caption's accelerator.

#include <gtest/gtest.h>

#include "controls/offbtn/offbtn_keys.h"

namespace controls {
namespace {

using A = DialogKeyAnswer;
using ui::kVkEscape;
using ui::kVkF4;
using ui::kVkReturn;
using ui::kVkSpace;

TEST(FlatButtonKeys, DialogKeys) {
  const ui::ShiftState none;
  const ui::ShiftState shift{true, false, false};
  const ui::ShiftState alt{false, false, true};
  const ui::ShiftState altShift{true, false, true};
  const struct {
    const char* name;
    int key;
    ui::ShiftState held;
    bool keyActive, cancel, canFocus;
    A answer;
  } kCases[] = {
      {"Enter, key-active", kVkReturn, none, true, false, true, A::KeyboardClick},
      {"Shift+Enter, key-active", kVkReturn, shift, true, false, true, A::KeyboardClick},
      {"Space, key-active, cannot focus", kVkSpace, none, true, false, false, A::KeyboardClick},
      {"Enter, not key-active", kVkReturn, none, false, false, true, A::PassOn},
      {"Escape, cancel", kVkEscape, none, false, true, true, A::KeyboardClick},
      {"Shift+Escape, cancel", kVkEscape, shift, false, true, true, A::PassOn},
      {"Alt+Escape, cancel", kVkEscape, alt, false, true, true, A::PassOn},
      {"Escape, cancel, cannot focus", kVkEscape, none, false, true, false, A::PassOn},
      {"Escape, no cancel", kVkEscape, none, true, false, true, A::PassOn},
      {"Alt+F4", kVkF4, alt, true, true, true, A::RestAndPassOn},
      {"Alt+Shift+F4", kVkF4, altShift, true, true, true, A::PassOn},
      {"F4", kVkF4, none, true, true, true, A::PassOn},
      {"A", 'A', none, true, true, true, A::PassOn},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DialogKey(c.key, c.held, c.keyActive, c.cancel, c.canFocus), c.answer);
  }
  EXPECT_TRUE(KeyDownClicks(kVkSpace, true));
  EXPECT_TRUE(KeyDownClicks(kVkReturn, true));
  EXPECT_FALSE(KeyDownClicks(kVkSpace, false));
  EXPECT_FALSE(KeyDownClicks(kVkEscape, true));
}

TEST(FlatButtonKeys, Accelerators) {
  const struct {
    const char* caption;
    char32_t typed;
    bool accelerator;
  } kCases[] = {
      {"&Remove Selected", 'r', true},
      {"&Remove Selected", 'R', true},
      {"&Remove Selected", 'e', false},
      {"Save && E&xit", 'x', true},
      {"Save && E&xit", 'e', false},
      {"Fish &&Chips", 'c', false},
      {"No accelerator", 'n', false},
      {"Trailing &", '&', false},
      {"&\xC3\xA9tat", U'\u00C9', true},     // é marked, É typed
      {"&\xC0\xC1rest", 'A', false},          // an over-long "A" is no letter
      {"&\xE2\x82", 0x20AC, false},           // cut off inside a character
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(IsAccelerator(c.typed, c.caption), c.accelerator);
  }
}

}  // namespace
}  // namespace controls
