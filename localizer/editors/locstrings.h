#pragma once
// The strings editor: the localizer's named strings as grid rows of name
// and value, edited through Add, Edit and Delete and loaded from and saved
// to the section AppName + ".@Data" of a language data file. The window
// shows what this holds and calls these operations from its buttons.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "localizer/editors/editor_ui.h"
#include "localizer/localizer.h"
#include "platform/text.h"

namespace localizer {

struct StringRow {
  std::string name;
  std::string value;
  friend bool operator==(const StringRow&, const StringRow&) = default;
};

class StringsEditor {
 public:
  // The rows come from the localizer's Strings, one per line, split at the
  // first "=" (an empty table gives the empty placeholder row).
  StringsEditor(TLocalizer& localizer, EditorUi& ui, platform::Text& text);

  TLocalizer& Localizer() const { return localizer_; }

  // Never empty. A first row with an empty name is the placeholder: the
  // grid then holds no strings.
  const std::vector<StringRow>& Rows() const { return rows_; }
  bool HoldsStrings() const { return !rows_.front().name.empty(); }
  // The selected row (always one of Rows); SetSelected clamps.
  std::size_t Selected() const { return selected_; }
  void SetSelected(std::size_t row);
  bool Modified() const { return modified_; }

  // Whether "Edit..." and "Delete" are enabled, as last brought up to date.
  bool EditEnabled() const { return editEnabled_; }
  // Enables them when the grid holds strings (on showing, after a move of
  // the column splitter, and after each operation).
  void UpdateButtons();

  // The first row whose upper-cased name equals the upper-cased `name`.
  std::optional<std::size_t> FindName(const std::string& name);

  void Add();
  void Edit();
  // A double click on the grid: Edit, while "Edit..." is enabled.
  void GridDoubleClick();
  void Delete();
  void Load();
  void Save();

  // The rows as name=value lines; none for the placeholder.
  std::vector<std::string> Lines() const;

  // Called after the rows, the selection or the enabling changed.
  std::function<void()> OnChange;

 private:
  void SetRows(const std::vector<std::string>& lines);
  void Changed();
  std::string DataSection() const;

  TLocalizer& localizer_;
  EditorUi& ui_;
  platform::Text& text_;
  std::vector<StringRow> rows_;
  std::size_t selected_ = 0;
  bool modified_ = false;
  bool editEnabled_ = false;
};

// The command "Strings editor...": the editor over `localizer`'s Strings,
// shown modally; on OK the Strings become its rows (none for the
// placeholder), on Cancel they stay.
void EditLocalizerStrings(TLocalizer& localizer, EditorUi& ui, platform::Text& text);

}  // namespace localizer
