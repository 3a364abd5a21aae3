#include "app/win32/program_painters.h"

#include "controls/enhlv/win32/enhlv_window.h"
#include "controls/gpanel/win32/gpanel_paint.h"
#include "controls/offbtn/win32/offbtn_paint.h"
#include "controls/standard/win32/standard_paint.h"

namespace app {

void RegisterProgramPainters(ui::win32::Win32WindowSystem& windows) {
  controls::RegisterStandardPainters(windows);
  controls::RegisterOffice97ButtonPainter(windows);
  controls::RegisterGPanelPainter(windows);
  controls::RegisterEnhListView(windows);
}

}  // namespace app
