#pragma once
// What the design-time editors ask of the screen: question and message
// boxes, the file dialogs, and running their two dialogs. The form
// designer's host supplies the real boxes and windows; tests script the
// answers.

#include <optional>
#include <string>

namespace localizer {

class ItemEdit;
class StringsEditor;

enum class MessageIcon { Exclamation, Question };

// The caption of every question the editors ask.
inline constexpr const char* kQuestionCaption = "TLocalizer";
// What the file dialogs offer (description|pattern pairs).
inline constexpr const char* kFileFilter = "TLocalizer files|*.loc|Any files|*.*";
inline constexpr const char* kDefaultExtension = "loc";

struct FileDialogOptions {
  std::string title;
  std::string defaultExtension;
  std::string filter;
};

class EditorUi {
 public:
  virtual ~EditorUi() = default;

  // A box with Yes and No buttons; true on Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
  // A plain message with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // The designer's report of an operation that failed.
  virtual void ShowError(const std::string& text) = 0;
  // The file chosen; none when the dialog was cancelled.
  virtual std::optional<std::string> ChooseFileToOpen(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> ChooseFileToSave(const FileDialogOptions& options) = 0;
  // Runs the item dialog over `item` until it closes; true when it closed
  // with OK, which it does only once item.Confirm accepted the texts.
  virtual bool RunItemEditor(ItemEdit& item) = 0;
  // Shows the strings editor modally; true when it closed with OK.
  virtual bool RunStringsEditor(StringsEditor& editor) = 0;
};

}  // namespace localizer
