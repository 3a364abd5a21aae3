#pragma once
// The timed message dialog: one text that closes by itself 2500 ms after
// its timer is switched on, or earlier on "OK" or the close box.

#include <string>

#include "app/windows/stored_window.h"

namespace app {

class TfrmExMes : public StoredWindow {
 public:
  // The caption is the application's title, given here.
  TfrmExMes(ui::WindowSystem& windows, Desktop& desktop, const std::string& title);
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  void SetText(const std::string& text);
  // Switching on a running timer leaves its count alone.
  void EnableTimer();

  void FormShow(ui::Component& Sender);
  void Timer1Timer(ui::Component& Sender);
  void Button1Click(ui::Component& Sender);
};

}  // namespace app
