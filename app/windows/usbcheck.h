#pragma once
// The removable-drive dialog: asks the user to plug in a drive; "Check Me
// Now!" answers OK, and the caller then scans the drives.

#include "app/windows/stored_window.h"

namespace app {

class TfrmUSB : public StoredWindow {
 public:
  TfrmUSB(ui::WindowSystem& windows, Desktop& desktop);
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  void btCheckClick(ui::Component& Sender);
  void btExitClick(ui::Component& Sender);
};

}  // namespace app
