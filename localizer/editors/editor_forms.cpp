#include "localizer/editors/editor_forms.h"

#include <any>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "controls/standard/label.h"
#include "controls/standard/splitter.h"
#include "localizer/editors/stored_editor_forms.h"
#include "ui/class_info.h"
#include "ui/form_reader.h"

namespace localizer {

const ui::ClassRegistry& EditorClasses() {
  static const ui::ClassRegistry classes = [] {
    ui::ClassRegistry made;
    made.Register<controls::TLabel>()
        .Register<controls::TPanel>()
        .Register<controls::TButton>()
        .Register<controls::TEdit>()
        .Register<controls::TStringGrid>()
        .Register<controls::TSplitter>();
    return made;
  }();
  return classes;
}

void ReadEditorForm(ui::Form& form, const char* unit, const char* text, const FormHandlers& handlers) {
  ui::WindowSystem& windows = form.System();
  const ui::FormEnvironment environment{
      EditorClasses(), [&windows](const std::string& name) { return windows.BitmapResource(name); },
      [&handlers](const std::string& name) -> std::any {
        const auto found = handlers.find(name);
        if (found == handlers.end()) return {};
        return found->second;
      }};
  ui::ReadForm(form, unit, text, environment);
}

// ---- the item dialog ----

const ui::ClassInfo& TfrmItemEditor::StaticClass() {
  static const ui::ClassInfo info("TfrmItemEditor", &ui::Form::StaticClass(), {});
  return info;
}

TfrmItemEditor::TfrmItemEditor(ui::WindowSystem& windows, ItemEdit& item, EditorUi& ui)
    : ui::Form(windows), item_(item), ui_(ui) {
  ReadEditorForm(*this, "LOCITEM", kItemEditorForm,
                 {{"btnOkClick", [this](ui::Component& s) { btnOkClick(s); }}});
  edtName_ = &Field<controls::TEdit>(*this, "edtName");
  edtValue_ = &Field<controls::TEdit>(*this, "edtValue");
  edtName_->SetText(item.Name);
  edtValue_->SetText(item.Value);
}

void TfrmItemEditor::btnOkClick(ui::Component&) {
  ItemEdit typed(edtName_->Text(), edtValue_->Text());
  if (!typed.Confirm(ui_)) {
    SetModalResult(ui::mrNone);
    edtName_->SetFocus();
    return;
  }
  item_ = typed;
}

// ---- the strings editor ----

const ui::ClassInfo& TfrmStringsEditor::StaticClass() {
  static const ui::ClassInfo info("TfrmStringsEditor", &ui::Form::StaticClass(), {});
  return info;
}

TfrmStringsEditor::TfrmStringsEditor(ui::WindowSystem& windows, StringsEditor& editor)
    : ui::Form(windows), editor_(editor) {
  ReadEditorForm(*this, "LOCSTRINGS", kStringsEditorForm,
                 {
                     {"FormShow", [this](ui::Component& s) { FormShow(s); }},
                     {"splColumnsMoved", [this](ui::Component& s) { splColumnsMoved(s); }},
                     {"stgStringsDblClick", [this](ui::Component& s) { stgStringsDblClick(s); }},
                     {"btnAddClick", [this](ui::Component& s) { btnAddClick(s); }},
                     {"btnEditClick", [this](ui::Component& s) { btnEditClick(s); }},
                     {"btnDeleteClick", [this](ui::Component& s) { btnDeleteClick(s); }},
                     {"btnLoadClick", [this](ui::Component& s) { btnLoadClick(s); }},
                     {"btnSaveClick", [this](ui::Component& s) { btnSaveClick(s); }},
                 });
  pnlLeft_ = &Field<controls::TPanel>(*this, "pnlLeft");
  stgStrings_ = &Field<controls::TStringGrid>(*this, "stgStrings");
  btnEdit_ = &Field<controls::TButton>(*this, "btnEdit");
  btnDelete_ = &Field<controls::TButton>(*this, "btnDelete");
  editor_.OnChange = [this] { ShowRows(); };
  ShowRows();
}

TfrmStringsEditor::~TfrmStringsEditor() { editor_.OnChange = nullptr; }

void TfrmStringsEditor::ShowRows() {
  const auto& rows = editor_.Rows();
  stgStrings_->SetRowCount(static_cast<int>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    stgStrings_->SetCells(0, static_cast<int>(i), rows[i].name);
    stgStrings_->SetCells(1, static_cast<int>(i), rows[i].value);
  }
  stgStrings_->SetRow(static_cast<int>(editor_.Selected()));
  btnEdit_->SetEnabled(editor_.EditEnabled());
  btnDelete_->SetEnabled(editor_.EditEnabled());
}

void TfrmStringsEditor::FitColumns() {
  const int name = pnlLeft_->Width();
  stgStrings_->SetColWidths(0, name);
  stgStrings_->SetColWidths(1, stgStrings_->ClientRect().Width() - name - 1);
}

void TfrmStringsEditor::TakeSelection() {
  editor_.SetSelected(static_cast<std::size_t>(stgStrings_->Row()));
}

void TfrmStringsEditor::FormShow(ui::Component&) {
  FitColumns();
  editor_.UpdateButtons();
}

void TfrmStringsEditor::splColumnsMoved(ui::Component&) {
  FitColumns();
  editor_.UpdateButtons();
}

void TfrmStringsEditor::stgStringsDblClick(ui::Component&) {
  TakeSelection();
  editor_.GridDoubleClick();
}

void TfrmStringsEditor::btnAddClick(ui::Component&) {
  TakeSelection();
  editor_.Add();
}

void TfrmStringsEditor::btnEditClick(ui::Component&) {
  TakeSelection();
  editor_.Edit();
}

void TfrmStringsEditor::btnDeleteClick(ui::Component&) {
  TakeSelection();
  editor_.Delete();
}

void TfrmStringsEditor::btnLoadClick(ui::Component&) { editor_.Load(); }

void TfrmStringsEditor::btnSaveClick(ui::Component&) { editor_.Save(); }

// ---- showing them ----

bool FormsEditorUi::RunItemEditor(ItemEdit& item) {
  TfrmItemEditor form(windows_, item, *this);
  return form.ShowModal() == ui::mrOk;
}

bool FormsEditorUi::RunStringsEditor(StringsEditor& editor) {
  TfrmStringsEditor form(windows_, editor);
  return form.ShowModal() == ui::mrOk;
}

}  // namespace localizer
