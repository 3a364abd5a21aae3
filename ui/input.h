#pragma once
// Keyboard and mouse state as the controls see it.

#include <cstdint>

namespace ui {

enum class TMouseButton : std::int32_t { mbLeft, mbRight, mbMiddle };

// The shift keys held when an input arrived.
struct ShiftState {
  bool shift = false;
  bool control = false;
  bool alt = false;
  bool None() const { return !shift && !control && !alt; }
  friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

// Virtual-key codes the controls react to.
inline constexpr int kVkTab = 0x09;
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkSpace = 0x20;
inline constexpr int kVkF4 = 0x73;

}  // namespace ui
