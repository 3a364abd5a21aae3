#pragma once
// DrawText's format flags, named for code that builds them without
// <windows.h> (the right-to-left flag rule, the layout). The values are
// GDI's DT_ constants.

namespace ui::text_flags {

inline constexpr unsigned kLeft = 0x0;            // DT_LEFT
inline constexpr unsigned kCenter = 0x1;          // DT_CENTER
inline constexpr unsigned kRight = 0x2;           // DT_RIGHT
inline constexpr unsigned kVCenter = 0x4;         // DT_VCENTER
inline constexpr unsigned kWordBreak = 0x10;      // DT_WORDBREAK
inline constexpr unsigned kSingleLine = 0x20;     // DT_SINGLELINE
inline constexpr unsigned kNoClip = 0x100;        // DT_NOCLIP
inline constexpr unsigned kCalcRect = 0x400;      // DT_CALCRECT
inline constexpr unsigned kNoPrefix = 0x800;      // DT_NOPREFIX
inline constexpr unsigned kRtlReading = 0x20000;  // DT_RTLREADING

}  // namespace ui::text_flags
