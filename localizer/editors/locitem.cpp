#include "localizer/editors/locitem.h"

namespace localizer {

bool ItemEdit::Confirm(EditorUi& ui) const {
  if (!Name.empty()) return true;
  ui.ShowMessage(kNameMustBeFilled);
  return false;
}

bool EditItem(EditorUi& ui, std::string& Name, std::string& Value) {
  ItemEdit item(Name, Value);
  if (!ui.RunItemEditor(item)) return false;
  Name = item.Name;
  Value = item.Value;
  return true;
}

}  // namespace localizer
