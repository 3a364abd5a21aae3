#include "app/windows/exmes.h"

#include "controls/standard/label.h"
#include "controls/standard/timer.h"
#include "ui/class_info.h"

namespace app {

const ui::ClassInfo& TfrmExMes::StaticClass() {
  static const ui::ClassInfo info("TfrmExMes", &ui::Form::StaticClass(), {});
  return info;
}

TfrmExMes::TfrmExMes(ui::WindowSystem& windows, Desktop& desktop, const std::string& title)
    : StoredWindow(windows, desktop) {
  Load("EXMES", {
                    {"FormShow", [this](ui::Component& s) { FormShow(s); }},
                    {"Timer1Timer", [this](ui::Component& s) { Timer1Timer(s); }},
                    {"Button1Click", [this](ui::Component& s) { Button1Click(s); }},
                });
  SetCaption(title);
}

void TfrmExMes::SetText(const std::string& text) {
  Field<controls::TLabel>("lblText").SetCaption(text);
}

void TfrmExMes::EnableTimer() { Field<controls::TTimer>("Timer1").SetEnabled(true); }

void TfrmExMes::FormShow(ui::Component&) { EnableTimer(); }

void TfrmExMes::Timer1Timer(ui::Component&) {
  // Off first, so that it cannot fire a second time.
  Field<controls::TTimer>("Timer1").SetEnabled(false);
  Close();
}

void TfrmExMes::Button1Click(ui::Component&) { Close(); }

}  // namespace app
