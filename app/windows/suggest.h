#pragma once
// The suggestion dialog that ends a check that found nothing: two buttons
// open the pages of the maker's other products, "Close" closes it.

#include "app/windows/stored_window.h"

namespace app {

class TfrmSuggest : public StoredWindow {
 public:
  TfrmSuggest(ui::WindowSystem& windows, Desktop& desktop);
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  void btCheckClick(ui::Component& Sender);
  void Office97Button1Click(ui::Component& Sender);
  void btExitClick(ui::Component& Sender);
};

}  // namespace app
