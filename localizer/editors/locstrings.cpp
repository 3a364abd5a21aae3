#include "localizer/editors/locstrings.h"

#include <exception>

#include "localizer/editors/locitem.h"

namespace localizer {
namespace {

StringRow Split(const std::string& line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) return {line, ""};
  return {line.substr(0, equals), line.substr(equals + 1)};
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

FileDialogOptions DataFileDialog(const char* title) {
  return {title, kDefaultExtension, kFileFilter};
}

}  // namespace

StringsEditor::StringsEditor(TLocalizer& localizer, EditorUi& ui, platform::Text& text)
    : localizer_(localizer), ui_(ui), text_(text) {
  SetRows(localizer.Strings().Lines());
}

void StringsEditor::SetRows(const std::vector<std::string>& lines) {
  rows_.clear();
  for (const std::string& line : lines) rows_.push_back(Split(line));
  if (rows_.empty()) rows_.push_back({});
  selected_ = 0;
}

void StringsEditor::SetSelected(std::size_t row) {
  selected_ = row < rows_.size() ? row : rows_.size() - 1;
  Changed();
}

void StringsEditor::Changed() {
  if (OnChange) OnChange();
}

void StringsEditor::UpdateButtons() {
  editEnabled_ = HoldsStrings();
  Changed();
}

std::optional<std::size_t> StringsEditor::FindName(const std::string& name) {
  const std::string wanted = text_.UpperCase(name);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (text_.UpperCase(rows_[i].name) == wanted) return i;
  }
  return std::nullopt;
}

void StringsEditor::Add() {
  std::string name;
  std::string value;
  if (EditItem(ui_, name, value)) {
    if (const auto found = FindName(name)) {
      if (ui_.AskYesNo("String " + Quoted(name) + " already exists.\rChange its value?",
                       kQuestionCaption, MessageIcon::Exclamation)) {
        rows_[*found].value = value;
        modified_ = true;
      }
    } else {
      if (HoldsStrings()) {
        rows_.push_back({name, value});
      } else {
        rows_.front() = {name, value};
      }
      selected_ = rows_.size() - 1;
      modified_ = true;
    }
  }
  UpdateButtons();
}

void StringsEditor::Edit() {
  StringRow& row = rows_[selected_];
  std::string name = row.name;
  std::string value = row.value;
  if (EditItem(ui_, name, value)) {
    // Another row may hold the same name already; it is left as it is.
    row = {name, value};
    modified_ = true;
  }
  UpdateButtons();
}

void StringsEditor::GridDoubleClick() {
  if (editEnabled_) Edit();
}

void StringsEditor::Delete() {
  if (ui_.AskYesNo("Delete " + Quoted(rows_[selected_].name) + "?", kQuestionCaption,
                   MessageIcon::Question)) {
    if (rows_.size() == 1) {
      rows_.front() = {};
    } else {
      rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(selected_));
      if (selected_ >= rows_.size()) selected_ = rows_.size() - 1;
    }
    modified_ = true;
  }
  UpdateButtons();
}

void StringsEditor::Load() {
  if (modified_ && !ui_.AskYesNo("Strings are modified.\rLoad anyway?", kQuestionCaption,
                                 MessageIcon::Question)) {
    return;
  }
  const auto file = ui_.ChooseFileToOpen(DataFileDialog("Load TLocalizer Strings from file"));
  if (!file) return;
  std::vector<std::string> lines;
  try {
    localizer_.OpenStore(*file)->ReadSectionValues(DataSection(), lines);
  } catch (const std::exception& error) {
    ui_.ShowError(error.what());
    return;
  }
  SetRows(lines);
  modified_ = false;
  // Loaded strings can be edited at once, and a file without any leaves
  // nothing to edit or delete.
  UpdateButtons();
}

void StringsEditor::Save() {
  const auto file = ui_.ChooseFileToSave(DataFileDialog("Save TLocalizer Strings to file"));
  if (!file) return;
  try {
    const std::unique_ptr<KeyedStore> store = localizer_.OpenStore(*file);
    const std::string section = DataSection();
    store->EraseSection(section);
    if (HoldsStrings()) {
      for (const StringRow& row : rows_) store->WriteString(section, row.name, row.value);
    }
  } catch (const std::exception& error) {
    // What was written stays; the rows are still not in the file.
    ui_.ShowError(error.what());
    return;
  }
  modified_ = false;
  Changed();
}

std::vector<std::string> StringsEditor::Lines() const {
  std::vector<std::string> lines;
  if (!HoldsStrings()) return lines;
  for (const StringRow& row : rows_) lines.push_back(row.name + "=" + row.value);
  return lines;
}

std::string StringsEditor::DataSection() const { return localizer_.AppName() + ".@Data"; }

void EditLocalizerStrings(TLocalizer& localizer, EditorUi& ui, platform::Text& text) {
  StringsEditor editor(localizer, ui, text);
  if (!ui.RunStringsEditor(editor)) return;
  localizer.Strings().SetLines(editor.Lines());
}

}  // namespace localizer
