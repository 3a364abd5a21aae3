#include "app/windows/stored_window.h"

#include "app/windows/program_classes.h"
#include "ui/form_reader.h"

namespace app {

void StoredWindow::Load(const std::string& unit, const Handlers& handlers) {
  ui::WindowSystem& windows = System();
  const std::string text = desktop_.StoredForm(unit);
  const ui::FormEnvironment environment{
      ProgramClasses(),
      [&windows](const std::string& name) { return windows.BitmapResource(name); },
      [&handlers](const std::string& name) -> std::any {
        const auto found = handlers.find(name);
        if (found == handlers.end()) return {};
        return found->second;
      }};
  ui::ReadForm(*this, unit, text, environment);
}

}  // namespace app
