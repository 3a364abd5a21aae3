#include "ui/win32/gdi_colour.h"

namespace ui::win32 {

COLORREF ToColorRef(Colour colour) {
  return ResolveColour(colour, [](int index) { return static_cast<Colour>(GetSysColor(index)); });
}

}  // namespace ui::win32
