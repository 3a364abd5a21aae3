// TLocalizer over a language file on the in-memory machine: what a form
// writes, what reading it back restores, and what it must leave alone.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "controls/offbtn/office97_button.h"
#include "localizer/file_store.h"
#include "localizer/localizer.h"
#include "platform/memory/memory_machine.h"
#include "ui/font.h"
#include "ui/publish.h"
#include "ui/tests/sample_classes.h"

namespace localizer {
namespace {

using ui::testing::SampleControl;
using ui::testing::SampleForm;
using ui::testing::SampleNonVisual;

constexpr const char* kFile = "C:\\Lang\\german.loc";

// Three text properties whose names sort differently with and without
// regard to case; each assignment is recorded.
class Captioned : public ui::Component {
 public:
  static const ui::ClassInfo& StaticClass() {
    static const ui::ClassInfo info(
        "TCaptioned", &ui::Component::StaticClass(),
        ui::Publish<Captioned>()
            .Text("hint", &Captioned::Hint, &Captioned::SetHint, "")
            .Text("CaptionB", &Captioned::CaptionB, &Captioned::SetCaptionB, "")
            .Text("Caption", &Captioned::Caption, &Captioned::SetCaption, "")
            .Done());
    return info;
  }
  const ui::ClassInfo& Class() const override { return StaticClass(); }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& t) { set_.push_back("hint"), hint_ = t; }
  const std::string& CaptionB() const { return captionB_; }
  void SetCaptionB(const std::string& t) { set_.push_back("CaptionB"), captionB_ = t; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& t) { set_.push_back("Caption"), caption_ = t; }
  std::vector<std::string> set_;

 private:
  std::string hint_, captionB_, caption_;
};

class LocalizerTest : public ::testing::Test {
 protected:
  LocalizerTest() {
    machine_.files.AddDirectory("C:\\Lang");
    form_.SetName("frmMain");
    localizer_ = &Adopt<TLocalizer>("Localizer1");
    localizer_->SetAppName("Wellgrist");
    localizer_->SetStoreOpener(Opener());
    title_ = &Adopt<SampleControl>("lblTitle");
    title_->SetCaption("Welcome");
    title_->GetItems()->SetLines({"one", "", "three"});
    title_->GetFont()->SetName("Arial");
    title_->GetFont()->SetCharset(0);
    title_->GetFont()->SetSize(12);
    button_ = &Adopt<controls::TOffice97Button>("btCheck");
    button_->SetCaption("Check Me Now!");
    button_->GetFont()->SetName("Tahoma");
    button_->HoverFont()->SetName("Verdana");
    button_->HoverFont()->SetSize(14);
    heading_ = &Adopt<SampleNonVisual>("Heading");
    heading_->GetHeading()->SetName("Courier");
    unnamed_ = &Adopt<SampleControl>("");
    unnamed_->SetCaption("nameless");
  }

  template <class T>
  T& Adopt(const std::string& name) {
    T& made = form_.Adopt(std::make_unique<T>());
    made.SetName(name);
    return made;
  }

  StoreOpener Opener() {
    return [this](const std::string& name) { return std::make_unique<FileStore>(machine_.files, name); };
  }
  std::unique_ptr<KeyedStore> Store() { return Opener()(kFile); }
  std::string FileText() {
    const auto head = machine_.files.ReadHead(kFile, 1 << 20);
    return head ? std::string(head->bytes.begin(), head->bytes.end()) : std::string();
  }

  // Every text, list line and font the form shows, changed.
  void ChangeEverything() {
    for (auto* c : {title_, unnamed_}) {
      c->SetCaption("changed");
      c->GetItems()->SetLines({"x", "y", "z"});
      c->GetFont()->SetName("Changed");
      c->GetFont()->SetSize(30);
    }
    button_->SetCaption("changed");
    button_->GetFont()->SetName("Changed");
    button_->HoverFont()->SetName("Changed");
    heading_->GetHeading()->SetName("Changed");
    form_.SetCaption("changed");
  }

  platform::memory::MemoryMachine machine_;
  SampleForm form_;
  TLocalizer* localizer_;
  SampleControl* title_;
  controls::TOffice97Button* button_;
  SampleNonVisual* heading_;
  SampleControl* unnamed_;
};

TEST_F(LocalizerTest, WhatAFormWroteComesBackIntoEveryNamedComponent) {
  form_.SetCaption("Quorvex Remover");
  localizer_->SaveData(kFile);
  ChangeEverything();
  localizer_->LoadData(kFile);

  EXPECT_EQ(form_.Caption(), "Quorvex Remover");
  EXPECT_EQ(title_->Caption(), "Welcome");
  EXPECT_EQ(title_->GetItems()->Lines(), (std::vector<std::string>{"one", "", "three"}));
  EXPECT_EQ(title_->GetFont()->Name(), "Arial");
  EXPECT_EQ(title_->GetFont()->Charset(), 0);
  EXPECT_EQ(title_->GetFont()->Size(), 12);
  EXPECT_EQ(button_->Caption(), "Check Me Now!");
  // Both fonts of the flat button share the three keys: the later
  // property's values were written last and come back into both.
  EXPECT_EQ(button_->GetFont()->Name(), "Verdana");
  EXPECT_EQ(button_->HoverFont()->Name(), "Verdana");
  EXPECT_EQ(button_->GetFont()->Size(), 14);
  EXPECT_EQ(heading_->GetHeading()->Name(), "Changed") << "a component that is no control keeps its font";
  EXPECT_EQ(unnamed_->Caption(), "changed") << "a nameless component is never read";

  const auto store = Store();
  EXPECT_EQ(store->ReadSection("Wellgrist.frmMain.btCheck"),
            (std::vector<std::string>{"Caption", "Font.Name", "Font.Charset", "Font.Size"}));
  EXPECT_EQ(store->ReadSection("Wellgrist.frmMain.lblTitle"),
            (std::vector<std::string>{"Caption", "Items.0", "Items.1", "Items.2", "Font.Name",
                                      "Font.Charset", "Font.Size"}));
  EXPECT_EQ(store->ReadSection("Wellgrist.frmMain.Heading"), std::vector<std::string>{});
  EXPECT_EQ(store->ReadSection("Wellgrist.frmMain.Localizer1"), std::vector<std::string>{})
      << "the localizer leaves itself out";
  EXPECT_EQ(store->ReadString("@Info", "Description", ""), "TLocalizer Data File");
  EXPECT_EQ(store->ReadString("@Info", "Version", ""), "1.0");
  EXPECT_EQ(store->ReadString("Wellgrist.@Info", "Info", ""), "Created by TLocalizer");
  EXPECT_EQ(store->ReadString("Wellgrist.@Info", "Language", ""), "English");
}

TEST_F(LocalizerTest, EmptyTextsAreNotWrittenSoReadingKeepsWhatIsThereNow) {
  title_->SetCaption("");
  localizer_->SaveData(kFile);
  title_->SetCaption("typed later");
  localizer_->LoadData(kFile);
  EXPECT_EQ(title_->Caption(), "typed later");
  EXPECT_EQ(Store()->ReadString("Wellgrist.frmMain.lblTitle", "Caption", "<none>"), "<none>");
}

TEST_F(LocalizerTest, TextPropertiesGoInNameOrderWithoutRegardToCase) {
  auto& captioned = Adopt<Captioned>("Captioned1");
  captioned.set_.clear();
  localizer_->LoadData(kFile);
  EXPECT_EQ(captioned.set_, (std::vector<std::string>{"Caption", "CaptionB", "hint"}));
}

TEST_F(LocalizerTest, SectionsBeginWithTheFilteredAppNameAndTheRootNameBeforeItsUnderscore) {
  const struct {
    const char* appName;
    const char* rootName;
    const char* section;
  } kCases[] = {
      {"Well grist!", "frmMain", "Wellgrist.frmMain.lblTitle"},
      {"Wéll_2", "frmMain", "Wll_2.frmMain.lblTitle"},
      {" .!", "frmMain", "NonameApplication.frmMain.lblTitle"},
      {"", "frmMain", "NonameApplication.frmMain.lblTitle"},
      {"Wellgrist", "frmMain_1", "Wellgrist.frmMain.lblTitle"},
      {"Wellgrist", "frmMain_1_b", "Wellgrist.frmMain.lblTitle"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.appName) + " / " + c.rootName);
    machine_.files.RemoveFile(kFile);
    form_.SetName(c.rootName);
    localizer_->LocalizeComponent(kFile, c.appName, form_, nullptr, TDirection::dirWrite);
    EXPECT_EQ(Store()->ReadString(c.section, "Caption", ""), "Welcome");
  }
}

TEST_F(LocalizerTest, AComponentTheHandlerOrTheCallerLeavesOutIsUntouchedBothWays) {
  localizer_->SaveData(kFile);
  localizer_->OnLocalize.handler = [&](TLocalizer& sender, ui::Component& c, bool& enable) {
    EXPECT_EQ(&sender, localizer_);
    if (&c == title_) enable = false;
    if (&c == localizer_) enable = true;  // the localizer's own AppName becomes a text
  };
  title_->SetCaption("kept");
  button_->SetCaption("excluded");
  localizer_->LocalizeComponent(kFile, "Wellgrist", form_, button_, TDirection::dirWrite);
  const auto store = Store();
  EXPECT_EQ(store->ReadString("Wellgrist.frmMain.lblTitle", "Caption", ""), "Welcome")
      << "the section of a component left out is neither erased nor written";
  EXPECT_EQ(store->ReadString("Wellgrist.frmMain.btCheck", "Caption", ""), "Check Me Now!");
  EXPECT_EQ(store->ReadString("Wellgrist.frmMain.Localizer1", "AppName", ""), "Wellgrist");

  localizer_->LocalizeComponent(kFile, "Wellgrist", form_, button_, TDirection::dirRead);
  EXPECT_EQ(title_->Caption(), "kept");
  EXPECT_EQ(button_->Caption(), "excluded");
}

TEST_F(LocalizerTest, ReadingChangesOnlyTheLinesAListAlreadyHas) {
  {
    const auto store = Store();
    for (const char* key : {"Items.0", "Items.2", "Items.5"}) {
      store->WriteString("Wellgrist.frmMain.lblTitle", key, std::string("file ") + key);
    }
  }
  localizer_->LoadData(kFile);
  EXPECT_EQ(title_->GetItems()->Lines(),
            (std::vector<std::string>{"file Items.0", "", "file Items.2"}));
}

TEST_F(LocalizerTest, WritingTwiceKeepsOneCopyOfEachSectionAndEverythingElseInTheFile) {
  {
    const auto store = Store();
    store->WriteString("Other.frmOther.lblX", "Caption", "theirs");
    store->WriteString("Wellgrist.@Data", "Greeting", "Hallo");
  }
  localizer_->SaveData(kFile);
  title_->GetItems()->SetLines({"only"});
  localizer_->SaveData(kFile);

  const std::string text = FileText();
  for (const char* section : {"[Wellgrist.frmMain.lblTitle]", "[@Info]", "[Wellgrist.@Info]"}) {
    const std::size_t first = text.find(section);
    ASSERT_NE(first, std::string::npos) << section;
    EXPECT_EQ(text.find(section, first + 1), std::string::npos) << section << " twice";
  }
  const auto store = Store();
  EXPECT_EQ(store->ReadString("Wellgrist.frmMain.lblTitle", "Items.1", "<gone>"), "<gone>")
      << "lines that went since the first write do not linger";
  EXPECT_EQ(store->ReadString("Other.frmOther.lblX", "Caption", ""), "theirs");
  localizer_->LoadData(kFile);
  EXPECT_EQ(localizer_->GetString("greeting", "-"), "Hallo");
}

TEST_F(LocalizerTest, LoadDataFillsTheNamedStringsAndTheHeaderTexts) {
  {
    const auto store = Store();
    store->WriteString("Wellgrist.@Data", "Restart", "Neu starten?");
    store->WriteString("Wellgrist.@Data", "Formula", "a=b");
    store->WriteString("Wellgrist.@Data", "Empty", "");
    store->WriteString("Wellgrist.@Info", "Language", "Deutsch");
    store->WriteString("Wellgrist.@Info", "Info", "Made by hand");
  }
  localizer_->Strings().SetLines({"Stale=old"});
  localizer_->LoadData(kFile);
  EXPECT_EQ(localizer_->Strings().Lines(),
            (std::vector<std::string>{"Restart=Neu starten?", "Formula=a=b"}));
  EXPECT_EQ(localizer_->Language(), "Deutsch");
  EXPECT_EQ(localizer_->Copyright(), "");
  EXPECT_EQ(localizer_->Info(), "Made by hand");
  EXPECT_EQ(localizer_->GetString("RESTART", "-"), "Neu starten?");
  EXPECT_EQ(localizer_->GetString("formula", "-"), "a=b");
  EXPECT_EQ(localizer_->GetString("Empty", "default"), "default");
  EXPECT_EQ(localizer_->GetString("Stale", "default"), "default");
}

TEST_F(LocalizerTest, AMissingFileChangesNoTextAndEmptiesTheTables) {
  localizer_->Strings().SetLines({"Kept=no"});
  localizer_->LoadData("C:\\Lang\\missing.loc");
  EXPECT_EQ(title_->Caption(), "Welcome");
  EXPECT_EQ(title_->GetFont()->Name(), "Arial");
  EXPECT_TRUE(localizer_->Strings().Lines().empty());
  EXPECT_EQ(localizer_->Language(), "");
  EXPECT_EQ(localizer_->Info(), "");
  EXPECT_FALSE(machine_.files.Exists("C:\\Lang\\missing.loc")) << "reading creates nothing";
}

TEST_F(LocalizerTest, LoadListTakesCountItemsAndNoMoreThanItCanHold) {
  const struct {
    const char* count;
    std::size_t lines;
  } kCases[] = {{"3", 3}, {"0", 0}, {"-4", 0}, {"x", 0}, {"$7FFFFFFF", 65536}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.count);
    {
      const auto store = Store();
      store->EraseSection("Wellgrist.Names");
      store->WriteString("Wellgrist.Names", "Count", c.count);
      store->WriteString("Wellgrist.Names", "0", "first");
      store->WriteString("Wellgrist.Names", "2", "third");
    }
    ui::StringList list;
    list.SetLines({"old"});
    localizer_->LoadList(list, kFile, "Names");
    ASSERT_EQ(list.Count(), c.lines);
    if (c.lines == 3) EXPECT_EQ(list.Lines(), (std::vector<std::string>{"first", "", "third"}));
  }
}

TEST_F(LocalizerTest, FontValuesFromTheFileAreTakenOnlyAsFarAsAFontGoes) {
  const struct {
    const char* size;
    const char* charset;
    int sizeRead, charsetRead;
  } kCases[] = {
      {"0x10", "2", 16, 2},           // hexadecimal reads as its number
      {"big", "none", 12, 0},         // letters read as what the font has
      {"$7FFFFFFF", "999", ui::Font::kMaxSize, 255},
      {"-2147483648", "-1", -ui::Font::kMaxSize, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.size);
    title_->GetFont()->SetSize(12);
    title_->GetFont()->SetCharset(0);
    {
      const auto store = Store();
      store->WriteString("Wellgrist.frmMain.lblTitle", "Font.Size", c.size);
      store->WriteString("Wellgrist.frmMain.lblTitle", "Font.Charset", c.charset);
    }
    localizer_->LoadData(kFile);
    EXPECT_EQ(title_->GetFont()->Size(), c.sizeRead);
    EXPECT_EQ(title_->GetFont()->Charset(), c.charsetRead);
    EXPECT_LE(std::abs(title_->GetFont()->Height()), 10000);
  }
}

TEST_F(LocalizerTest, AFileThatRefusesWritesEndsTheSaveWithTheStoreError) {
  localizer_->SaveData(kFile);
  const std::string before = FileText();
  machine_.files.SetAttributes(kFile, platform::kAttributeReadOnly);
  title_->SetCaption("never written");
  try {
    localizer_->SaveData(kFile);
    FAIL() << "the save went through";
  } catch (const StoreError& e) {
    EXPECT_STREQ(e.what(), "Unable to write to C:\\Lang\\german.loc");
  }
  EXPECT_EQ(FileText(), before);
}

}  // namespace
}  // namespace localizer
