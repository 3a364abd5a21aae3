#include "app/windows/mainr.h"

#include "app/check_workflow.h"
#include "app/maker_site.h"
#include "app/windows/program_check_windows.h"
#include "controls/standard/popup_menu.h"
#include "ui/class_info.h"

namespace app {

const ui::ClassInfo& TfrmMain::StaticClass() {
  static const ui::ClassInfo info("TfrmMain", &ui::Form::StaticClass(), {});
  return info;
}

TfrmMain::TfrmMain(ui::WindowSystem& windows, Desktop& desktop, scanner::ScanContext& context)
    : StoredWindow(windows, desktop), context_(context) {
  Load("MAINR", {
                    {"btCheckClick", [this](ui::Component& s) { btCheckClick(s); }},
                    {"btUpdateClick", [this](ui::Component& s) { btUpdateClick(s); }},
                    {"btExitClick", [this](ui::Component& s) { btExitClick(s); }},
                    {"lblMoreInfoClick", [this](ui::Component& s) { lblMoreInfoClick(s); }},
                    {"lblHalvornClick", [this](ui::Component& s) { lblHalvornClick(s); }},
                });
}

std::string TfrmMain::MessageText(const std::string& itemName) const {
  const auto& menu = Field<controls::TPopupMenu>("pmnLang");
  const auto& item = Field<controls::TMenuItem>(itemName);
  if (item.Menu() != &menu) throw std::logic_error(itemName + " is not a message item");
  return item.Caption();
}

std::optional<std::intptr_t> TfrmMain::WindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                                     std::intptr_t) {
  if (message != kUpdaterNotifyMessage) return std::nullopt;
  OnUpdaterMessage(static_cast<std::uint32_t>(wParam));
  return 0;
}

void TfrmMain::OnUpdaterMessage(std::uint32_t wParam) {
  if (update_.Notified(wParam)) GetDesktop().Terminate();
}

void TfrmMain::btCheckClick(ui::Component&) {
  ProgramCheckWindows windows(System(), GetDesktop(), *this);
  RunCheck(context_, windows);
}

void TfrmMain::btUpdateClick(ui::Component&) {
  Desktop& desktop = GetDesktop();
  const UpdaterLaunch launch = update_.Start(desktop.ProgramPath(), desktop.WindowHandle(*this));
  desktop.Open(*this, launch.file, launch.parameters);
}

void TfrmMain::btExitClick(ui::Component&) { Close(); }

void TfrmMain::lblMoreInfoClick(ui::Component&) {
  GetDesktop().Open(*this, std::string(kMakerSite) + "/quorvex", "");
}

void TfrmMain::lblHalvornClick(ui::Component&) {
  GetDesktop().Open(*this, std::string(kMakerSite) + "/", "");
}

}  // namespace app
