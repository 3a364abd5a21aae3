// The design-time editors driven through their logic with scripted
// answers, over the portable language-file store on an in-memory machine.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "localizer/editors/localizer_editor.h"
#include "localizer/editors/locitem.h"
#include "localizer/editors/locstrings.h"
#include "localizer/editors/tests/scripted_ui.h"
#include "localizer/file_store.h"
#include "localizer/localizer.h"
#include "platform/memory/memory_machine.h"
#include "ui/component.h"

namespace localizer {
namespace {

using testing::Cancel;
using testing::ScriptedUi;
using testing::TypeAndOk;

constexpr const char* kFile = "C:\\lang\\english.loc";

class EditorsTest : public ::testing::Test {
 protected:
  EditorsTest() {
    form.SetName("frmMain");
    localizer = &form.Adopt(std::make_unique<TLocalizer>());
    localizer->SetName("Localizer1");
    localizer->SetAppName("Wellgrist");
    localizer->SetStoreOpener(FileStoreOpener(files));
    files.AddDirectory("C:\\lang");
  }

  void SeedFile(const std::string& path, const std::string& text) {
    files.AddFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  std::unique_ptr<KeyedStore> Reopen(const std::string& path = kFile) {
    return std::make_unique<FileStore>(files, path);
  }
  std::unique_ptr<StringsEditor> Editor(std::vector<std::string> strings = {}) {
    localizer->Strings().SetLines(std::move(strings));
    auto editor = std::make_unique<StringsEditor>(*localizer, ui, text);
    editor->UpdateButtons();  // as on showing
    return editor;
  }
  static std::vector<StringRow> Rows(std::vector<StringRow> rows) { return rows; }

  platform::memory::MemoryFileSystem files;
  platform::memory::MemoryText text;
  ui::Component form;
  TLocalizer* localizer = nullptr;
  ScriptedUi ui;
};

// ---- the item dialog ----

TEST_F(EditorsTest, ItemDialogRefusesAnEmptyNameUntilOneIsTyped) {
  ui.itemScripts.push_back([](ItemEdit& item, EditorUi& ui) {
    item.Name = "";
    item.Value = "v";
    if (item.Confirm(ui)) return true;  // must stay open
    item.Name = "Greeting";
    return item.Confirm(ui);
  });
  std::string name = "old";
  std::string value = "old value";
  ASSERT_TRUE(EditItem(ui, name, value));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"\"Name\" must be filled."});
  EXPECT_EQ(name, "Greeting");
  EXPECT_EQ(value, "v");
  EXPECT_EQ(ui.itemsShown.front(), std::make_pair(std::string("old"), std::string("old value")));
}

TEST_F(EditorsTest, ItemDialogCancelledLeavesBothTexts) {
  ui.itemScripts.push_back([](ItemEdit& item, EditorUi&) {
    item.Name = "typed";
    item.Value = "typed";
    return false;
  });
  std::string name = "n";
  std::string value = "v";
  EXPECT_FALSE(EditItem(ui, name, value));
  EXPECT_EQ(name, "n");
  EXPECT_EQ(value, "v");
  EXPECT_TRUE(ui.messages.empty());
}

// ---- the strings editor ----

TEST_F(EditorsTest, RowsComeFromStringsSplitAtTheFirstEquals) {
  auto editor = Editor({"a=b=c", "plain", "e="});
  EXPECT_EQ(editor->Rows(), Rows({{"a", "b=c"}, {"plain", ""}, {"e", ""}}));
  EXPECT_TRUE(editor->EditEnabled());
  EXPECT_FALSE(editor->Modified());
}

TEST_F(EditorsTest, AnEmptyTableShowsThePlaceholderWithEditAndDeleteDisabled) {
  auto editor = Editor();
  EXPECT_EQ(editor->Rows(), Rows({{"", ""}}));
  EXPECT_FALSE(editor->HoldsStrings());
  EXPECT_FALSE(editor->EditEnabled());
  EXPECT_TRUE(editor->Lines().empty());
}

TEST_F(EditorsTest, AddFillsThePlaceholderThenAppendsAndSelectsTheNewRow) {
  auto editor = Editor();
  ui.itemScripts = {TypeAndOk("First", "1"), TypeAndOk("Second", "2")};
  editor->Add();
  EXPECT_EQ(editor->Rows(), Rows({{"First", "1"}}));
  EXPECT_TRUE(editor->EditEnabled());
  EXPECT_TRUE(editor->Modified());
  editor->SetSelected(0);
  editor->Add();
  EXPECT_EQ(editor->Rows(), Rows({{"First", "1"}, {"Second", "2"}}));
  EXPECT_EQ(editor->Selected(), 1u);
  EXPECT_EQ(ui.itemsShown, (std::vector<std::pair<std::string, std::string>>{{"", ""}, {"", ""}}));
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(EditorsTest, AddCancelledChangesNothing) {
  auto editor = Editor({"a=1"});
  ui.itemScripts = {Cancel()};
  editor->Add();
  EXPECT_EQ(editor->Rows(), Rows({{"a", "1"}}));
  EXPECT_FALSE(editor->Modified());
}

TEST_F(EditorsTest, AddingANameInOtherLetterCaseAsksWhetherToChangeItsValue) {
  struct Case {
    bool answer;
    std::vector<StringRow> rows;
  };
  for (const Case& c :
       {Case{true, {{"a", "1"}, {"Größe", "new"}}}, Case{false, {{"a", "1"}, {"Größe", "old"}}}}) {
    SCOPED_TRACE(c.answer);
    ScriptedUi fresh;
    ui = fresh;
    auto editor = Editor({"a=1", "Größe=old"});
    editor->SetSelected(0);
    ui.itemScripts = {TypeAndOk("GRößE", "new")};
    ui.answers = {c.answer};
    editor->Add();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "String \"GRößE\" already exists.\rChange its value?");
    EXPECT_EQ(ui.questions[0].caption, "TLocalizer");
    EXPECT_EQ(ui.questions[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(editor->Rows(), c.rows);
    EXPECT_EQ(editor->Modified(), c.answer);
    EXPECT_EQ(editor->Selected(), 0u);
  }
}

TEST_F(EditorsTest, EditWritesBothTextsBackEvenOverAnotherRowsName) {
  auto editor = Editor({"a=1", "b=2"});
  editor->SetSelected(1);
  ui.itemScripts = {TypeAndOk("A", "changed")};
  editor->Edit();
  EXPECT_EQ(ui.itemsShown.front(), std::make_pair(std::string("b"), std::string("2")));
  EXPECT_EQ(editor->Rows(), Rows({{"a", "1"}, {"A", "changed"}}));
  EXPECT_TRUE(editor->Modified());
  EXPECT_TRUE(ui.questions.empty());
}

TEST_F(EditorsTest, DoubleClickEditsOnlyWhileEditIsEnabled) {
  auto empty = Editor();
  empty->GridDoubleClick();  // no item dialog: the script would fail
  EXPECT_TRUE(ui.itemsShown.empty());

  auto editor = Editor({"a=1"});
  ui.itemScripts = {Cancel()};
  editor->GridDoubleClick();
  EXPECT_EQ(ui.itemsShown.size(), 1u);
  EXPECT_FALSE(editor->Modified());
}

TEST_F(EditorsTest, DeleteAsksAndMovesTheLaterRowsUp) {
  auto editor = Editor({"a=1", "b=2", "c=3"});
  editor->SetSelected(1);
  ui.answers = {false, true};
  editor->Delete();
  EXPECT_EQ(editor->Rows().size(), 3u);
  EXPECT_FALSE(editor->Modified());
  editor->Delete();
  EXPECT_EQ(editor->Rows(), Rows({{"a", "1"}, {"c", "3"}}));
  EXPECT_TRUE(editor->Modified());
  ASSERT_EQ(ui.questions.size(), 2u);
  EXPECT_EQ(ui.questions[1].text, "Delete \"b\"?");
  EXPECT_EQ(ui.questions[1].caption, "TLocalizer");
  EXPECT_EQ(ui.questions[1].icon, MessageIcon::Question);

  // The last row deleted: the one before it is selected.
  editor->SetSelected(1);
  ui.answers = {true};
  editor->Delete();
  EXPECT_EQ(editor->Rows(), Rows({{"a", "1"}}));
  EXPECT_EQ(editor->Selected(), 0u);
}

TEST_F(EditorsTest, DeletingTheOnlyRowLeavesThePlaceholder) {
  auto editor = Editor({"only=1"});
  ui.answers = {true};
  editor->Delete();
  EXPECT_EQ(editor->Rows(), Rows({{"", ""}}));
  EXPECT_FALSE(editor->EditEnabled());
  EXPECT_TRUE(editor->Modified());
  EXPECT_TRUE(editor->Lines().empty());
}

TEST_F(EditorsTest, LoadShowsExactlyTheFilesNamedStrings) {
  SeedFile(kFile,
           "[Wellgrist.@Data]\r\nHello=Hi there\r\nEmpty=\r\nQuoted=\"in quotes\"\r\n"
           "[Other.@Data]\r\nHello=not ours\r\n");
  auto editor = Editor({"old=1", "older=2"});
  ui.filesToOpen = {kFile};
  editor->Load();
  EXPECT_TRUE(ui.questions.empty());  // not modified: nothing to ask
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  EXPECT_EQ(ui.openDialogs[0].title, "Load TLocalizer Strings from file");
  EXPECT_EQ(ui.openDialogs[0].defaultExtension, "loc");
  EXPECT_EQ(ui.openDialogs[0].filter, "TLocalizer files|*.loc|Any files|*.*");
  EXPECT_EQ(editor->Rows(), Rows({{"Hello", "Hi there"}, {"Quoted", "in quotes"}}));
  EXPECT_TRUE(editor->EditEnabled());

  // A file without the section leaves the placeholder.
  ui.filesToOpen = {"C:\\lang\\missing.loc"};
  editor->Load();
  EXPECT_EQ(editor->Rows(), Rows({{"", ""}}));
  EXPECT_FALSE(editor->EditEnabled());
  ui.ExpectAllUsed();
}

TEST_F(EditorsTest, LoadAsksFirstWhenModified) {
  SeedFile(kFile, "[Wellgrist.@Data]\r\nFromFile=yes\r\n");
  struct Case {
    const char* name;
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> files;
    std::vector<StringRow> rows;
    bool modified;
  };
  const std::vector<Case> cases = {
      {"No: no dialog, rows kept", {false}, {}, {{"a", "1"}, {"typed", "t"}}, true},
      {"Yes, dialog cancelled: kept and modified",
       {true},
       {std::nullopt},
       {{"a", "1"}, {"typed", "t"}},
       true},
      {"Yes, file chosen: loaded", {true}, {kFile}, {{"FromFile", "yes"}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedUi fresh;
    ui = fresh;
    auto editor = Editor({"a=1"});
    ui.itemScripts = {TypeAndOk("typed", "t")};
    editor->Add();
    ui.answers = c.answers;
    ui.filesToOpen = c.files;
    editor->Load();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "Strings are modified.\rLoad anyway?");
    EXPECT_EQ(ui.questions[0].caption, "TLocalizer");
    EXPECT_EQ(ui.questions[0].icon, MessageIcon::Question);
    EXPECT_EQ(editor->Rows(), c.rows);
    EXPECT_EQ(editor->Modified(), c.modified);
    ui.ExpectAllUsed();
  }
}

TEST_F(EditorsTest, SaveReplacesTheNamedStringsAndKeepsEveryOtherSection) {
  SeedFile(kFile,
           "[Wellgrist.frmMain]\r\nCaption=Main\r\n"
           "[Wellgrist.@Data]\r\nStale=gone\r\nb=old\r\n"
           "[Other.@Data]\r\nb=theirs\r\n");
  auto editor = Editor({"b=2", "a=1"});
  ui.itemScripts = {TypeAndOk("c", "3")};
  editor->Add();
  ui.filesToSave = {kFile};
  editor->Save();
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].title, "Save TLocalizer Strings to file");
  EXPECT_EQ(ui.saveDialogs[0].defaultExtension, "loc");
  EXPECT_EQ(ui.saveDialogs[0].filter, "TLocalizer files|*.loc|Any files|*.*");
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_FALSE(editor->Modified());

  auto store = Reopen();
  EXPECT_EQ(store->ReadSection("Wellgrist.@Data"), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(store->ReadString("Wellgrist.@Data", "b", "?"), "2");
  EXPECT_EQ(store->ReadString("Wellgrist.@Data", "c", "?"), "3");
  EXPECT_EQ(store->ReadString("Wellgrist.frmMain", "Caption", "?"), "Main");
  EXPECT_EQ(store->ReadString("Other.@Data", "b", "?"), "theirs");

  // Saving the placeholder empties the section and nothing else.
  auto empty = Editor();
  ui.filesToSave = {kFile};
  empty->Save();
  store = Reopen();
  EXPECT_TRUE(store->ReadSection("Wellgrist.@Data").empty());
  EXPECT_EQ(store->ReadString("Other.@Data", "b", "?"), "theirs");
}

TEST_F(EditorsTest, SaveCancelledWritesNothingAndStaysModified) {
  auto editor = Editor();
  ui.itemScripts = {TypeAndOk("x", "1")};
  editor->Add();
  ui.filesToSave = {std::nullopt};
  editor->Save();
  EXPECT_TRUE(editor->Modified());
  EXPECT_FALSE(files.Exists(kFile));
}

TEST_F(EditorsTest, AStoreErrorEndsTheSaveWithItsMessageAndTheEditorStaysModified) {
  auto editor = Editor();
  ui.itemScripts = {TypeAndOk("x", "1")};
  editor->Add();
  ui.filesToSave = {"C:\\nowhere\\strings.loc"};
  editor->Save();
  EXPECT_EQ(ui.errors, std::vector<std::string>{"Unable to write to C:\\nowhere\\strings.loc"});
  EXPECT_TRUE(editor->Modified());
  EXPECT_EQ(editor->Rows(), Rows({{"x", "1"}}));
}

// ---- the component editor ----

TEST_F(EditorsTest, VerbsAreFourWithTheirCaptions) {
  TLocalizerEditor editor(*localizer, ui, files, text);
  ASSERT_EQ(editor.GetVerbCount(), 4);
  const std::vector<std::string> captions = {"Strings editor...", "-", "Save data...",
                                             "Load data..."};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(editor.GetVerb(i), captions[static_cast<size_t>(i)]);
  editor.ExecuteVerb(1);  // the separator does nothing: no dialog is scripted
  ui.ExpectAllUsed();
}

TEST_F(EditorsTest, StringsEditorVerbTakesTheRowsOnlyOnOk) {
  struct Case {
    const char* name;
    std::vector<std::string> before;
    std::function<bool(StringsEditor&)> user;
    std::vector<std::string> after;
  };
  const std::vector<Case> cases = {
      {"OK with only the placeholder", {}, [](StringsEditor&) { return true; }, {}},
      {"OK after adding",
       {"a=1"},
       [](StringsEditor& e) {
         e.Add();
         return true;
       },
       {"a=1", "n=v"}},
      {"Cancel after adding",
       {"a=1"},
       [](StringsEditor& e) {
         e.Add();
         return false;
       },
       {"a=1"}},
      {"OK after deleting the only row",
       {"a=1"},
       [](StringsEditor& e) {
         e.Delete();
         return true;
       },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedUi fresh;
    ui = fresh;
    ui.itemScripts = {TypeAndOk("n", "v")};
    ui.answers = {true};
    localizer->Strings().SetLines(c.before);
    ui.stringsEditorScript = [&](StringsEditor& editor) {
      EXPECT_EQ(&editor.Localizer(), localizer);
      return c.user(editor);
    };
    TLocalizerEditor(*localizer, ui, files, text).ExecuteVerb(0);
    EXPECT_EQ(localizer->Strings().Lines(), c.after);
  }
}

TEST_F(EditorsTest, SaveDataOnAnExistingFileAsksFirstAndOnNoWritesNothing) {
  const std::string before = "[Other.@Data]\r\nx=1\r\n";
  SeedFile(kFile, before);
  TLocalizerEditor editor(*localizer, ui, files, text);
  ui.filesToSave = {kFile};
  ui.answers = {false};
  const std::string dump = files.Dump();
  editor.ExecuteVerb(2);
  ASSERT_EQ(ui.saveDialogs.size(), 1u);
  EXPECT_EQ(ui.saveDialogs[0].title, "Save file");
  EXPECT_EQ(ui.saveDialogs[0].defaultExtension, "loc");
  EXPECT_EQ(ui.saveDialogs[0].filter, "TLocalizer files|*.loc|Any files|*.*");
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0].text,
            std::string("File \"") + kFile + "\" already exists.\rAppend/refresh information?");
  EXPECT_EQ(ui.questions[0].caption, "TLocalizer");
  EXPECT_EQ(ui.questions[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(files.Dump(), dump);

  ui.filesToSave = {kFile};
  ui.answers = {true};
  editor.ExecuteVerb(2);
  auto store = Reopen();
  EXPECT_EQ(store->ReadString("@Info", "Description", "?"), "TLocalizer Data File");
  EXPECT_EQ(store->ReadString("Other.@Data", "x", "?"), "1");
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(EditorsTest, AStoreErrorEndsSaveDataWithItsMessage) {
  TLocalizerEditor editor(*localizer, ui, files, text);
  ui.filesToSave = {"C:\\nowhere\\form.loc"};
  editor.ExecuteVerb(2);
  EXPECT_EQ(ui.errors, std::vector<std::string>{"Unable to write to C:\\nowhere\\form.loc"});
}

TEST_F(EditorsTest, SaveDataOnANewFileAsksNothing) {
  TLocalizerEditor editor(*localizer, ui, files, text);
  ui.filesToSave = {"C:\\lang\\new.loc"};
  editor.ExecuteVerb(2);
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_EQ(Reopen("C:\\lang\\new.loc")->ReadString("Wellgrist.@Info", "Language", "?"), "English");
}

TEST_F(EditorsTest, LoadDataLoadsTheNamedStringsOfTheChosenFile) {
  SeedFile(kFile, "[Wellgrist.@Data]\r\nHello=Hi\r\n[Wellgrist.@Info]\r\nLanguage=Deutsch\r\n");
  TLocalizerEditor editor(*localizer, ui, files, text);
  ui.filesToOpen = {std::nullopt, kFile};
  editor.ExecuteVerb(3);
  EXPECT_TRUE(localizer->Strings().Lines().empty());  // cancelled
  editor.ExecuteVerb(3);
  ASSERT_EQ(ui.openDialogs.size(), 2u);
  EXPECT_EQ(ui.openDialogs[1].title, "Open file");
  EXPECT_EQ(ui.openDialogs[1].defaultExtension, "loc");
  EXPECT_EQ(ui.openDialogs[1].filter, "TLocalizer files|*.loc|Any files|*.*");
  EXPECT_EQ(localizer->Strings().Lines(), std::vector<std::string>{"Hello=Hi"});
  EXPECT_EQ(localizer->Language(), "Deutsch");
}

}  // namespace
}  // namespace localizer
