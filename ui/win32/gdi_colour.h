#pragma once
// Colour values as GDI takes them.

#include <windows.h>

#include "ui/colour.h"

namespace ui::win32 {

// The RGB value to draw with now: system colours through GetSysColor.
COLORREF ToColorRef(Colour colour);

}  // namespace ui::win32
