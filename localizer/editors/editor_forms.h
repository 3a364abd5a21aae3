#pragma once
// The editors' two windows, TfrmStringsEditor and TfrmItemEditor, built
// from their stored forms and working only through the window system, and
// the part of EditorUi that shows them.

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "controls/standard/button.h"
#include "controls/standard/edit.h"
#include "controls/standard/panel.h"
#include "controls/standard/string_grid.h"
#include "localizer/editors/editor_ui.h"
#include "localizer/editors/locitem.h"
#include "localizer/editors/locstrings.h"
#include "ui/class_registry.h"
#include "ui/form.h"

namespace localizer {

// The classes the editors' stored forms are made of.
const ui::ClassRegistry& EditorClasses();

// Builds `form` from its stored text with the editors' classes, binding
// the stored handler names to `handlers`.
using FormHandlers = std::map<std::string, std::function<void(ui::Component&)>>;
void ReadEditorForm(ui::Form& form, const char* unit, const char* text,
                    const FormHandlers& handlers);

// The component of that name and class that the form read; a stored form
// without it is a broken build.
template <class T>
T& Field(const ui::Form& form, const std::string& name) {
  if (auto* found = dynamic_cast<T*>(form.FindComponent(name))) return *found;
  throw std::logic_error(form.Name() + " has no " + name + " of the expected class");
}

class TfrmItemEditor : public ui::Form {
 public:
  // Shows `item`'s texts; OK hands the typed ones back into it.
  TfrmItemEditor(ui::WindowSystem& windows, ItemEdit& item, EditorUi& ui);
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  // Refused while the name is empty: the message, and the focus back in
  // the name box.
  void btnOkClick(ui::Component& Sender);

 private:
  ItemEdit& item_;
  EditorUi& ui_;
  controls::TEdit* edtName_ = nullptr;
  controls::TEdit* edtValue_ = nullptr;
};

class TfrmStringsEditor : public ui::Form {
 public:
  // Shows `editor`'s rows and follows every change of them.
  TfrmStringsEditor(ui::WindowSystem& windows, StringsEditor& editor);
  ~TfrmStringsEditor() override;
  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  void FormShow(ui::Component& Sender);
  void splColumnsMoved(ui::Component& Sender);
  void stgStringsDblClick(ui::Component& Sender);
  void btnAddClick(ui::Component& Sender);
  void btnEditClick(ui::Component& Sender);
  void btnDeleteClick(ui::Component& Sender);
  void btnLoadClick(ui::Component& Sender);
  void btnSaveClick(ui::Component& Sender);

 private:
  // The name column as wide as the header's name part, the value column
  // the rest of the grid less one pixel.
  void FitColumns();
  void ShowRows();
  // The row the user selected in the grid is the editor's selection.
  void TakeSelection();

  StringsEditor& editor_;
  controls::TPanel* pnlLeft_ = nullptr;
  controls::TStringGrid* stgStrings_ = nullptr;
  controls::TButton* btnEdit_ = nullptr;
  controls::TButton* btnDelete_ = nullptr;
};

// Runs the two windows modally on `windows`; the boxes and file dialogs
// are the platform's.
class FormsEditorUi : public EditorUi {
 public:
  explicit FormsEditorUi(ui::WindowSystem& windows) : windows_(windows) {}
  bool RunItemEditor(ItemEdit& item) override;
  bool RunStringsEditor(StringsEditor& editor) override;

 private:
  ui::WindowSystem& windows_;
};

}  // namespace localizer
