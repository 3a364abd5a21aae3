#pragma once
// The item dialog's texts (one name and its value) and the rule that keeps
// it open while the name is empty.

#include <string>

#include "localizer/editors/editor_ui.h"

namespace localizer {

// What the dialog says when OK is pressed with an empty name.
inline constexpr const char* kNameMustBeFilled = "\"Name\" must be filled.";

class ItemEdit {
 public:
  ItemEdit(std::string name, std::string value) : Name(std::move(name)), Value(std::move(value)) {}

  std::string Name;
  std::string Value;

  // The OK button: true when the dialog may close; with an empty name it
  // shows kNameMustBeFilled and stays (the window puts the focus back into
  // the name box).
  bool Confirm(EditorUi& ui) const;
};

// Shows the item dialog with both texts filled in (the window selects the
// name); on OK hands both back and returns true, else returns false and
// leaves them.
bool EditItem(EditorUi& ui, std::string& Name, std::string& Value);

}  // namespace localizer
