#pragma once
// The least form-designer host: a window listing the localizers of the
// program's forms, with buttons for the commands of the selected one
// ("Strings editor...", "Save data...", "Load data..."; the separator has
// none).

#include <vector>

#include "controls/standard/button.h"
#include "controls/standard/string_grid.h"
#include "localizer/editors/editor_ui.h"
#include "localizer/editors/localizer_editor.h"
#include "localizer/tool/program_forms.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "ui/form.h"

namespace localizer {

class TfrmLocalizerTool : public ui::Form {
 public:
  TfrmLocalizerTool(ui::WindowSystem& windows, const std::vector<FormLocalizer>& localizers,
                    EditorUi& ui, platform::FileSystem& files, platform::Text& text);
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  void btnStringsEditorClick(ui::Component& Sender);
  void btnSaveDataClick(ui::Component& Sender);
  void btnLoadDataClick(ui::Component& Sender);
  void btnCloseClick(ui::Component& Sender);

 private:
  // Command `verb` of the localizer selected in the list.
  void Execute(int verb);

  std::vector<TLocalizerEditor> editors_;
  controls::TStringGrid* stgLocalizers_ = nullptr;
};

}  // namespace localizer
