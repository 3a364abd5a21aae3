#include "controls/offbtn/offbtn_keys.h"

#include "ui/utf8.h"

namespace controls {
namespace {

// Upper case of the letters the program's captions can hold: ASCII and the
// Latin-1 letters (the same rule the system applies in Western locales).
char32_t Upper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  return c;
}

}  // namespace

bool KeyDownClicks(int key, bool keyActive) {
  return keyActive && (key == ui::kVkReturn || key == ui::kVkSpace);
}

DialogKeyAnswer DialogKey(int key, ui::ShiftState shift, bool keyActive, bool cancel,
                          bool canFocus) {
  if (keyActive && (key == ui::kVkReturn || key == ui::kVkSpace)) return DialogKeyAnswer::KeyboardClick;
  if (key == ui::kVkEscape && cancel && shift.None() && canFocus) return DialogKeyAnswer::KeyboardClick;
  if (key == ui::kVkF4 && shift.alt && !shift.shift && !shift.control) {
    return DialogKeyAnswer::RestAndPassOn;
  }
  return DialogKeyAnswer::PassOn;
}

bool IsAccelerator(char32_t typed, std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // a plain ampersand
      continue;
    }
    const auto marked = ui::Utf8CodePointAt(caption, i + 1);
    return marked && Upper(*marked) == Upper(typed);
  }
  return false;
}

}  // namespace controls
