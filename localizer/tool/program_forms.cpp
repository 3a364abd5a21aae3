#include "localizer/tool/program_forms.h"

#include "app/application_title.h"
#include "app/windows/exmes.h"
#include "app/windows/found.h"
#include "app/windows/mainr.h"
#include "app/windows/suggest.h"
#include "app/windows/usbcheck.h"

namespace localizer {

std::vector<std::unique_ptr<ui::Form>> BuildProgramForms(ui::WindowSystem& windows,
                                                         app::Desktop& desktop,
                                                         scanner::ScanContext& context) {
  std::vector<std::unique_ptr<ui::Form>> forms;
  forms.push_back(std::make_unique<app::TfrmMain>(windows, desktop, context));
  forms.push_back(std::make_unique<app::TfrmFound>(windows, desktop));
  forms.push_back(std::make_unique<app::TfrmUSB>(windows, desktop));
  forms.push_back(std::make_unique<app::TfrmSuggest>(windows, desktop));
  forms.push_back(std::make_unique<app::TfrmExMes>(windows, desktop, app::kApplicationTitle));
  return forms;
}

std::vector<FormLocalizer> FindLocalizers(const std::vector<std::unique_ptr<ui::Form>>& forms) {
  std::vector<FormLocalizer> found;
  for (const auto& form : forms) {
    // A form owns every component on it, at any depth.
    for (std::size_t i = 0; i < form->ComponentCount(); ++i) {
      if (auto* localizer = dynamic_cast<TLocalizer*>(&form->Components(i))) {
        found.push_back({form->Name(), localizer});
      }
    }
  }
  return found;
}

}  // namespace localizer
