#pragma once
// How many GDI and USER objects this process holds, to show that painting
// gives back everything it makes.

namespace ui::win32::testing {

struct GuiObjects {
  long gdi = 0;   // GetGuiResources(GR_GDIOBJECTS)
  long user = 0;  // GetGuiResources(GR_USEROBJECTS)
  // Live entries of the process's GDI handle table (PEB
  // GdiSharedHandleTable) under Wine, whose GetGuiResources is a stub that
  // answers 0 for both kinds; -1 elsewhere. Wine offers no such measure for
  // USER objects.
  long gdiHandleTable = -1;
  friend bool operator==(const GuiObjects&, const GuiObjects&) = default;
};

GuiObjects CountGuiObjects();

}  // namespace ui::win32::testing
