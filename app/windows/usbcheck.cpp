#include "app/windows/usbcheck.h"

#include "ui/class_info.h"

namespace app {

const ui::ClassInfo& TfrmUSB::StaticClass() {
  static const ui::ClassInfo info("TfrmUSB", &ui::Form::StaticClass(), {});
  return info;
}

TfrmUSB::TfrmUSB(ui::WindowSystem& windows, Desktop& desktop) : StoredWindow(windows, desktop) {
  Load("USBCHECK", {
                       {"btCheckClick", [this](ui::Component& s) { btCheckClick(s); }},
                       {"btExitClick", [this](ui::Component& s) { btExitClick(s); }},
                   });
}

void TfrmUSB::btCheckClick(ui::Component&) {
  // Closing a modal form answers Cancel; the OK set after it is what counts.
  Close();
  SetModalResult(ui::mrOk);
}

void TfrmUSB::btExitClick(ui::Component&) { Close(); }

}  // namespace app
