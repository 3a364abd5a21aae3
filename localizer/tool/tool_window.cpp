#include "localizer/tool/tool_window.h"

#include <any>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "localizer/editors/editor_forms.h"
#include "localizer/tool/stored_tool_form.h"
#include "ui/class_info.h"
#include "ui/form_reader.h"

namespace localizer {

const ui::ClassInfo& TfrmLocalizerTool::StaticClass() {
  static const ui::ClassInfo info("TfrmLocalizerTool", &ui::Form::StaticClass(), {});
  return info;
}

TfrmLocalizerTool::TfrmLocalizerTool(ui::WindowSystem& windows,
                                     const std::vector<FormLocalizer>& localizers, EditorUi& ui,
                                     platform::FileSystem& files, platform::Text& text)
    : ui::Form(windows) {
  const FormHandlers handlers = {
      {"btnStringsEditorClick", [this](ui::Component& s) { btnStringsEditorClick(s); }},
      {"btnSaveDataClick", [this](ui::Component& s) { btnSaveDataClick(s); }},
      {"btnLoadDataClick", [this](ui::Component& s) { btnLoadDataClick(s); }},
      {"btnCloseClick", [this](ui::Component& s) { btnCloseClick(s); }},
  };
  ReadEditorForm(*this, "LOCALIZERTOOL", kLocalizerToolForm, handlers);

  stgLocalizers_ = &Field<controls::TStringGrid>(*this, "stgLocalizers");
  stgLocalizers_->SetColWidths(0, 120);
  stgLocalizers_->SetColWidths(1, 120);
  stgLocalizers_->SetColWidths(2, stgLocalizers_->ClientRect().Width() - 240);
  stgLocalizers_->SetRowCount(std::max<int>(1, static_cast<int>(localizers.size())));
  for (std::size_t i = 0; i < localizers.size(); ++i) {
    const auto row = static_cast<int>(i);
    TLocalizer& localizer = *localizers[i].localizer;
    stgLocalizers_->SetCells(0, row, localizers[i].formName);
    stgLocalizers_->SetCells(1, row, localizer.Name());
    stgLocalizers_->SetCells(2, row, localizer.AppName());
    editors_.emplace_back(localizer, ui, files, text);
  }

  const struct {
    const char* button;
    int verb;
  } kButtons[] = {{"btnStringsEditor", 0}, {"btnSaveData", 2}, {"btnLoadData", 3}};
  for (const auto& b : kButtons) {
    auto& button = Field<controls::TButton>(*this, b.button);
    // The commands read as the localizer's context menu names them.
    button.SetCaption(editors_.empty() ? std::string() : editors_.front().GetVerb(b.verb));
    button.SetEnabled(!editors_.empty());
  }
}

void TfrmLocalizerTool::Execute(int verb) {
  const auto row = static_cast<std::size_t>(stgLocalizers_->Row());
  if (row < editors_.size()) editors_[row].ExecuteVerb(verb);
}

void TfrmLocalizerTool::btnStringsEditorClick(ui::Component&) { Execute(0); }
void TfrmLocalizerTool::btnSaveDataClick(ui::Component&) { Execute(2); }
void TfrmLocalizerTool::btnLoadDataClick(ui::Component&) { Execute(3); }
void TfrmLocalizerTool::btnCloseClick(ui::Component&) { Close(); }

}  // namespace localizer
