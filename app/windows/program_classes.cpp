#include "app/windows/program_classes.h"

#include "controls/enhlv/enhlv.h"
#include "controls/gpanel/gpanel.h"
#include "controls/offbtn/office97_button.h"
#include "controls/standard/button.h"
#include "controls/standard/image.h"
#include "controls/standard/label.h"
#include "controls/standard/panel.h"
#include "controls/standard/popup_menu.h"
#include "controls/standard/timer.h"
#include "localizer/localizer.h"

namespace app {

const ui::ClassRegistry& ProgramClasses() {
  static const ui::ClassRegistry classes = [] {
    ui::ClassRegistry made;
    made.Register<controls::TLabel>()
        .Register<controls::TImage>()
        .Register<controls::TPanel>()
        .Register<controls::TButton>()
        .Register<controls::TTimer>()
        .Register<controls::TPopupMenu>()
        .Register<controls::TMenuItem>()
        .Register<controls::TOffice97Button>()
        .Register<controls::TGPanel>()
        .Register<controls::TEnhListView>()
        .Register<localizer::TLocalizer>();
    return made;
  }();
  return classes;
}

}  // namespace app
