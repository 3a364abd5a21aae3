#pragma once
// TEnhListView on screen: the common controls' list view ("SysListView32")
// mirrors the model, its check boxes come back to the rows, and its own
// tooltip control's requests for a tip's text and its showing go through
// the model's tooltip handling.

#include <windows.h>

#include <optional>
#include <utility>

#include "ui/win32/win32_window_system.h"

namespace controls {

// Every TEnhListView of `windows` gets a list view window. Loads the list
// view class of the common controls.
void RegisterEnhListView(ui::win32::Win32WindowSystem& windows);

// The file version (major, minor) that comctl32.dll reports through its
// DllGetVersion; none when it cannot be read.
std::optional<std::pair<int, int>> CommonControlsVersion();

// The list view's own tooltip control, asked of the list view each time
// (null when it has none).
HWND getHandleToolTip(HWND listView);

}  // namespace controls
