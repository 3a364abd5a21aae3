// The editors' two windows as their stored forms build them, on a window
// system that only records: what they show, how the header's splitter sizes
// the grid's columns, and the item dialog's OK refusing an empty name.

#include "localizer/editors/editor_forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/standard/button.h"
#include "controls/standard/edit.h"
#include "controls/standard/panel.h"
#include "controls/standard/splitter.h"
#include "controls/standard/string_grid.h"
#include "localizer/editors/tests/scripted_ui.h"
#include "platform/memory/memory_machine.h"
#include "ui/tests/fake_window_system.h"

namespace localizer {
namespace {

template <class T>
T& Get(const ui::Form& form, const std::string& name) {
  auto* found = dynamic_cast<T*>(form.FindComponent(name));
  if (found == nullptr) throw std::logic_error("no " + name);
  return *found;
}

class EditorFormsTest : public ::testing::Test {
 protected:
  EditorFormsTest() {
    owner.SetName("frmMain");
    localizer = &owner.Adopt(std::make_unique<TLocalizer>());
  }
  ui::testing::FakeWindowSystem windows;
  testing::ScriptedUi ui;
  platform::memory::MemoryText text;
  ui::Component owner;
  TLocalizer* localizer = nullptr;
};

TEST_F(EditorFormsTest, TheStringsEditorShowsTheRowsUnderAHeaderThatSizesTheColumns) {
  localizer->Strings().SetLines({"a=1", "b=2"});
  StringsEditor editor(*localizer, ui, text);
  TfrmStringsEditor form(windows, editor);
  EXPECT_EQ(form.Caption(), "TLocalizer Strings Editor");
  EXPECT_EQ(form.BorderStyle(), ui::TFormBorderStyle::bsDialog);
  EXPECT_EQ(form.Position(), ui::TPosition::poScreenCenter);
  EXPECT_EQ(form.ClientWidth(), 429);
  EXPECT_EQ(form.ClientHeight(), 317);
  EXPECT_EQ(Get<controls::TPanel>(form, "pnlTop").Height(), 17);
  EXPECT_EQ(Get<controls::TPanel>(form, "pnlLeft").Caption(), " Name");
  EXPECT_EQ(Get<controls::TPanel>(form, "pnlRight").Caption(), " Value");
  EXPECT_EQ(Get<controls::TSplitter>(form, "splColumns").MinSize(), 60);

  auto& grid = Get<controls::TStringGrid>(form, "stgStrings");
  EXPECT_EQ(grid.Height(), 224);
  EXPECT_EQ(grid.DefaultRowHeight(), 16);
  ASSERT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Cells(0, 1), "b");
  EXPECT_EQ(grid.Cells(1, 1), "2");

  const struct {
    const char* name;
    const char* caption;
  } kButtons[] = {{"btnAdd", "Add..."},   {"btnEdit", "Edit..."}, {"btnDelete", "Delete"},
                  {"btnLoad", "Load..."}, {"btnSave", "Save..."}, {"btnOk", "OK"},
                  {"btnCancel", "Cancel"}};
  for (const auto& b : kButtons)
    EXPECT_EQ(Get<controls::TButton>(form, b.name).Caption(), b.caption);
  auto& ok = Get<controls::TButton>(form, "btnOk");
  auto& cancel = Get<controls::TButton>(form, "btnCancel");
  EXPECT_TRUE(ok.Default());
  EXPECT_EQ(ok.ModalResult(), ui::mrOk);
  EXPECT_TRUE(cancel.Cancel());
  EXPECT_EQ(cancel.ModalResult(), ui::mrCancel);

  auto& edit = Get<controls::TButton>(form, "btnEdit");
  EXPECT_FALSE(editor.EditEnabled());
  form.Shown();
  EXPECT_TRUE(edit.Enabled());
  // The grid's client width is 413 less its frame.
  EXPECT_EQ(grid.ColWidths(0), 150);
  EXPECT_EQ(grid.ColWidths(1), 409 - 150 - 1);

  auto& splitter = Get<controls::TSplitter>(form, "splColumns");
  splitter.MouseDown(ui::TMouseButton::mbLeft, {}, {2, 5});
  splitter.MouseMove({}, {42, 5});
  splitter.MouseUp(ui::TMouseButton::mbLeft, {}, {2, 5});
  EXPECT_EQ(grid.ColWidths(0), 190);
  EXPECT_EQ(grid.ColWidths(1), 409 - 190 - 1);

  // Deleting the only rows leaves the placeholder, and the buttons follow.
  ui.answers = {true, true};
  form.btnDeleteClick(form);
  form.btnDeleteClick(form);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.Cells(0, 0), "");
  EXPECT_FALSE(edit.Enabled());
  EXPECT_FALSE(Get<controls::TButton>(form, "btnDelete").Enabled());
}

TEST_F(EditorFormsTest, TheItemDialogShowsBothTextsAndRefusesOkWithoutAName) {
  ItemEdit item("old", "value");
  TfrmItemEditor form(windows, item, ui);
  EXPECT_EQ(form.Caption(), "TLocalizer Strings Item");
  EXPECT_EQ(form.ClientWidth(), 293);
  EXPECT_EQ(form.ClientHeight(), 137);
  auto& name = Get<controls::TEdit>(form, "edtName");
  auto& value = Get<controls::TEdit>(form, "edtValue");
  EXPECT_EQ(name.Text(), "old");
  EXPECT_EQ(value.Text(), "value");
  auto& ok = Get<controls::TButton>(form, "btnOk");

  name.SetText("");
  value.SetText("new");
  ok.Click();
  EXPECT_EQ(form.ModalResult(), ui::mrNone);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"\"Name\" must be filled."});
  EXPECT_EQ(windows.Focused(), &name);
  EXPECT_EQ(item.Name, "old");

  name.SetText("Greeting");
  ok.Click();
  EXPECT_EQ(form.ModalResult(), ui::mrOk);
  EXPECT_EQ(item.Name, "Greeting");
  EXPECT_EQ(item.Value, "new");
}

}  // namespace
}  // namespace localizer
