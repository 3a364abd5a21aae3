#pragma once
// An EditorUi whose answers a test writes down beforehand and which keeps
// every question, message and dialog it was shown. A call the script did
// not foresee fails the test and answers No or Cancel.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "localizer/editors/editor_ui.h"
#include "localizer/editors/locitem.h"

namespace localizer::testing {

struct Question {
  std::string text;
  std::string caption;
  MessageIcon icon;
};

// What the user does in the item dialog: changes its texts and presses
// OK (returns whether the dialog closed) or Cancel (returns false).
using ItemScript = std::function<bool(ItemEdit& item, EditorUi& ui)>;

// Types `name` and `value` and presses OK.
inline ItemScript TypeAndOk(std::string name, std::string value) {
  return [name, value](ItemEdit& item, EditorUi& ui) {
    item.Name = name;
    item.Value = value;
    return item.Confirm(ui);
  };
}
inline ItemScript Cancel() {
  return [](ItemEdit&, EditorUi&) { return false; };
}

class ScriptedUi : public EditorUi {
 public:
  std::deque<bool> answers;
  std::deque<std::optional<std::string>> filesToOpen;
  std::deque<std::optional<std::string>> filesToSave;
  std::deque<ItemScript> itemScripts;
  std::function<bool(StringsEditor&)> stringsEditorScript;

  std::vector<Question> questions;
  std::vector<std::string> messages;
  std::vector<std::string> errors;
  std::vector<FileDialogOptions> openDialogs;
  std::vector<FileDialogOptions> saveDialogs;
  // The texts the item dialog was shown with, each time.
  std::vector<std::pair<std::string, std::string>> itemsShown;

  bool AskYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override {
    questions.push_back({text, caption, icon});
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  std::optional<std::string> ChooseFileToOpen(const FileDialogOptions& options) override {
    openDialogs.push_back(options);
    return Next(filesToOpen, "open");
  }
  std::optional<std::string> ChooseFileToSave(const FileDialogOptions& options) override {
    saveDialogs.push_back(options);
    return Next(filesToSave, "save");
  }
  bool RunItemEditor(ItemEdit& item) override {
    itemsShown.emplace_back(item.Name, item.Value);
    if (itemScripts.empty()) {
      ADD_FAILURE() << "unexpected item dialog";
      return false;
    }
    const ItemScript script = itemScripts.front();
    itemScripts.pop_front();
    return script(item, *this);
  }
  bool RunStringsEditor(StringsEditor& editor) override {
    if (!stringsEditorScript) {
      ADD_FAILURE() << "unexpected strings editor";
      return false;
    }
    return stringsEditorScript(editor);
  }

  // Every scripted answer was used.
  void ExpectAllUsed() const {
    EXPECT_TRUE(answers.empty()) << answers.size() << " answers left";
    EXPECT_TRUE(filesToOpen.empty());
    EXPECT_TRUE(filesToSave.empty());
    EXPECT_TRUE(itemScripts.empty());
  }

 private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& files,
                                         const char* kind) {
    if (files.empty()) {
      ADD_FAILURE() << "unexpected " << kind << " dialog";
      return std::nullopt;
    }
    auto file = files.front();
    files.pop_front();
    return file;
  }
};

}  // namespace localizer::testing
