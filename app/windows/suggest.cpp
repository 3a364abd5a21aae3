#include "app/windows/suggest.h"

#include <string>

#include "app/maker_site.h"
#include "ui/class_info.h"

namespace app {

const ui::ClassInfo& TfrmSuggest::StaticClass() {
  static const ui::ClassInfo info("TfrmSuggest", &ui::Form::StaticClass(), {});
  return info;
}

TfrmSuggest::TfrmSuggest(ui::WindowSystem& windows, Desktop& desktop)
    : StoredWindow(windows, desktop) {
  Load("SUGGEST", {
                      {"btCheckClick", [this](ui::Component& s) { btCheckClick(s); }},
                      {"Office97Button1Click",
                       [this](ui::Component& s) { Office97Button1Click(s); }},
                      {"btExitClick", [this](ui::Component& s) { btExitClick(s); }},
                  });
}

// The dialog stays open while the browser shows the page.
void TfrmSuggest::btCheckClick(ui::Component&) {
  GetDesktop().Open(*this, std::string(kMakerSite) + "/wellgrist/download.htm", "");
}

void TfrmSuggest::Office97Button1Click(ui::Component&) {
  GetDesktop().Open(*this, std::string(kMakerSite) + "/security/ostrival.html", "");
}

void TfrmSuggest::btExitClick(ui::Component&) { Close(); }

}  // namespace app
