#include "localizer/editors/localizer_editor.h"

#include <array>
#include <exception>

#include "localizer/editors/locstrings.h"

namespace localizer {
namespace {

constexpr std::array<const char*, 4> kVerbs = {"Strings editor...", "-", "Save data...",
                                               "Load data..."};

}  // namespace

TLocalizerEditor::TLocalizerEditor(TLocalizer& component, EditorUi& ui, platform::FileSystem& files,
                                   platform::Text& text)
    : component_(component), ui_(ui), files_(files), text_(text) {}

std::string TLocalizerEditor::GetVerb(int index) const {
  if (index < 0 || index >= GetVerbCount()) return {};
  return kVerbs[static_cast<std::size_t>(index)];
}

void TLocalizerEditor::ExecuteVerb(int index) {
  switch (index) {
    case 0:
      EditLocalizerStrings(component_, ui_, text_);
      break;
    case 2:
      SaveDataVerb();
      break;
    case 3:
      LoadDataVerb();
      break;
    default:
      break;
  }
}

void TLocalizerEditor::SaveDataVerb() {
  const auto file = ui_.ChooseFileToSave({"Save file", kDefaultExtension, kFileFilter});
  if (!file) return;
  if (files_.FileExists(*file) &&
      !ui_.AskYesNo("File \"" + *file + "\" already exists.\rAppend/refresh information?",
                    kQuestionCaption, MessageIcon::Exclamation)) {
    return;
  }
  try {
    component_.SaveData(*file);
  } catch (const std::exception& error) {
    ui_.ShowError(error.what());
  }
}

void TLocalizerEditor::LoadDataVerb() {
  const auto file = ui_.ChooseFileToOpen({"Open file", kDefaultExtension, kFileFilter});
  if (!file) return;
  try {
    component_.LoadData(*file);
  } catch (const std::exception& error) {
    ui_.ShowError(error.what());
  }
}

}  // namespace localizer
