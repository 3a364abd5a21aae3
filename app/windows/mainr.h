#pragma once
// The main window: "Check Me Now!" runs a check, "Check Updates..." hands
// the update check to the maker's web-update program, two links open the
// maker's pages, and its message menu holds the check's message texts.

#include <cstdint>
#include <optional>
#include <string>

#include "app/update_check.h"
#include "app/windows/stored_window.h"
#include "scanner/scan_context.h"

namespace app {

class TfrmMain : public StoredWindow {
 public:
  TfrmMain(ui::WindowSystem& windows, Desktop& desktop, scanner::ScanContext& context);
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  // The caption of the message item `itemName` of pmnLang, as it is now.
  std::string MessageText(const std::string& itemName) const;
  bool UpdateStarted() const { return update_.UpdateStarted(); }

  // The web-update program's notification comes before ordinary handling.
  std::optional<std::intptr_t> WindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                             std::intptr_t lParam) override;
  void OnUpdaterMessage(std::uint32_t wParam);

  void btCheckClick(ui::Component& Sender);
  void btUpdateClick(ui::Component& Sender);
  void btExitClick(ui::Component& Sender);
  void lblMoreInfoClick(ui::Component& Sender);
  void lblHalvornClick(ui::Component& Sender);

 private:
  scanner::ScanContext& context_;
  UpdateCheck update_;
};

}  // namespace app
