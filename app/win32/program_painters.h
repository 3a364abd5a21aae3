#pragma once
// How the program's controls appear on screen: the painters of the labels,
// images, panels, flat buttons and gradient panels, and the list view's
// window. Registered before any form is read.

#include "ui/win32/win32_window_system.h"

namespace app {

void RegisterProgramPainters(ui::win32::Win32WindowSystem& windows);

}  // namespace app
