#pragma once
// TLocalizerEditor: the commands a localizer adds to its context menu in
// the form designer: the strings editor, a separator, and saving and
// loading the texts of the localizer's form.

#include <string>

#include "localizer/editors/editor_ui.h"
#include "localizer/localizer.h"
#include "platform/file_system.h"
#include "platform/text.h"

namespace localizer {

class TLocalizerEditor {
 public:
  // `files` tells whether a chosen file exists already; `text` upper-cases
  // names for the strings editor's search.
  TLocalizerEditor(TLocalizer& component, EditorUi& ui, platform::FileSystem& files,
                   platform::Text& text);

  int GetVerbCount() const { return 4; }
  // The caption of command `index`; empty outside 0 to 3.
  std::string GetVerb(int index) const;
  // Carries command `index` out; nothing for the separator or an index
  // outside 0 to 3. A store error ends the command with an error message.
  void ExecuteVerb(int index);

 private:
  void SaveDataVerb();
  void LoadDataVerb();

  TLocalizer& component_;
  EditorUi& ui_;
  platform::FileSystem& files_;
  platform::Text& text_;
};

}  // namespace localizer
