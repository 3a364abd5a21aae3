#pragma once
// The edit box and the string grid in windows of the system's own classes:
// the edit box in an "EDIT" window whose typing comes back into Text, the
// grid in the common controls' list view (report view without a header,
// whole-row selection) that shows the cells and reports the selected row
// and double clicks.

#include "ui/win32/win32_window_system.h"

namespace controls {

void RegisterEditWindow(ui::win32::Win32WindowSystem& windows);
// Loads the list view class of the common controls.
void RegisterStringGridWindow(ui::win32::Win32WindowSystem& windows);

}  // namespace controls
