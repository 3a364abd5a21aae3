#pragma once
// The program's windows built from their stored forms but never shown, as
// the form designer holds them, and the localizers they own.

#include <memory>
#include <string>
#include <vector>

#include "app/windows/desktop.h"
#include "localizer/localizer.h"
#include "scanner/scan_context.h"
#include "ui/form.h"
#include "ui/window_system.h"

namespace localizer {

// The main window, the results, removable-drive, suggestion and timed
// message dialogs, in that order.
std::vector<std::unique_ptr<ui::Form>> BuildProgramForms(ui::WindowSystem& windows,
                                                         app::Desktop& desktop,
                                                         scanner::ScanContext& context);

struct FormLocalizer {
  std::string formName;
  TLocalizer* localizer;
};

// Every localizer the forms own, form by form in their owned order.
std::vector<FormLocalizer> FindLocalizers(const std::vector<std::unique_ptr<ui::Form>>& forms);

}  // namespace localizer
