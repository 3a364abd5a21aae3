// The program's windows and the localizer: the timed message form carries
// one that never acts, and every window's texts go to a language file and
// come back as they were.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/application_title.h"
#include "app/windows/exmes.h"
#include "app/windows/found.h"
#include "app/windows/mainr.h"
#include "app/windows/suggest.h"
#include "app/windows/tests/recording_desktop.h"
#include "app/windows/usbcheck.h"
#include "controls/standard/popup_menu.h"
#include "localizer/file_store.h"
#include "localizer/localizer.h"
#include "platform/memory/memory_machine.h"
#include "ui/class_info.h"
#include "ui/font.h"
#include "ui/string_list.h"

namespace app::testing {
namespace {

using localizer::TDirection;
using localizer::TLocalizer;

constexpr const char* kFile = "C:\\Lang\\program.loc";

// Every text a transfer reaches: non-empty text properties, list lines,
// and the font of each visual control that has exactly one.
std::map<std::string, std::string> Texts(ui::Component& root) {
  std::map<std::string, std::string> texts;
  auto collect = [&](ui::Component& c) {
    if (c.Name().empty() || dynamic_cast<TLocalizer*>(&c)) return;
    std::vector<ui::Font*> fonts;
    for (const ui::PropertyInfo* p : c.Class().Properties()) {
      const std::string at = c.Name() + "." + p->name;
      if (p->kind == ui::PropertyKind::Text && p->name != "Name") {
        const std::string value = std::get<std::string>(p->get(c));
        if (!value.empty()) texts[at] = value;
      } else if (p->kind == ui::PropertyKind::Object && p->objectClass && p->object(c)) {
        if (p->objectClass->InheritsFrom(ui::StringList::StaticClass())) {
          const auto& lines = static_cast<ui::StringList*>(p->object(c))->Lines();
          for (std::size_t i = 0; i < lines.size(); ++i) texts[at + "." + std::to_string(i)] = lines[i];
        } else if (p->objectClass == &ui::Font::StaticClass() && c.IsVisualControl()) {
          fonts.push_back(static_cast<ui::Font*>(p->object(c)));
        }
      }
    }
    if (fonts.size() == 1) {
      texts[c.Name() + ".font"] = fonts[0]->Name() + "/" + std::to_string(fonts[0]->Charset()) +
                                  "/" + std::to_string(fonts[0]->Size());
    }
  };
  collect(root);
  for (std::size_t i = 0; i < root.ComponentCount(); ++i) collect(root.Components(i));
  return texts;
}

// Texts that were empty when written keep what they were changed to.
void ExpectRestored(const std::map<std::string, std::string>& before,
                    const std::map<std::string, std::string>& after) {
  for (const auto& [where, text] : before) {
    const auto found = after.find(where);
    ASSERT_NE(found, after.end()) << where;
    EXPECT_EQ(found->second, text) << where;
  }
}

void ChangeEveryText(ui::Component& root) {
  auto change = [](ui::Component& c) {
    if (dynamic_cast<TLocalizer*>(&c)) return;
    for (const ui::PropertyInfo* p : c.Class().Properties()) {
      if (p->kind == ui::PropertyKind::Text && p->name != "Name") {
        p->set(c, std::string("changed"));
      } else if (p->kind == ui::PropertyKind::Object && p->objectClass && p->object(c)) {
        if (p->objectClass->InheritsFrom(ui::StringList::StaticClass())) {
          auto* list = static_cast<ui::StringList*>(p->object(c));
          for (std::size_t i = 0; i < list->Count(); ++i) list->SetLine(i, "changed");
        } else if (p->objectClass == &ui::Font::StaticClass()) {
          auto* font = static_cast<ui::Font*>(p->object(c));
          font->SetName("Changed");
          font->SetSize(31);
          font->SetCharset(200);
        }
      }
    }
  };
  change(root);
  for (std::size_t i = 0; i < root.ComponentCount(); ++i) change(root.Components(i));
}

class LocalizedWindowsTest : public ::testing::Test {
 protected:
  LocalizedWindowsTest() {
    desktop_.ProvideBitmaps(windows_);
    machine_.files.AddDirectory("C:\\Lang");
    message_ = std::make_unique<TfrmExMes>(windows_, desktop_, kApplicationTitle);
    localizer_ = dynamic_cast<TLocalizer*>(message_->FindComponent("Localizer1"));
  }

  void GiveStore() {
    localizer_->SetStoreOpener([this](const std::string& name) {
      return std::make_unique<localizer::FileStore>(machine_.files, name);
    });
  }

  ui::testing::FakeWindowSystem windows_;
  RecordingDesktop desktop_;
  platform::memory::MemoryMachine machine_;
  scanner::ScanContext context_{machine_.machine(), {}};
  std::unique_ptr<TfrmExMes> message_;
  TLocalizer* localizer_ = nullptr;
};

TEST_F(LocalizedWindowsTest, TheTimedMessageCarriesALocalizerThatNeverActs) {
  ASSERT_NE(localizer_, nullptr);
  EXPECT_EQ(localizer_->AppName(), "Wellgrist");
  EXPECT_FALSE(localizer_->OnLocalize) << "no handler is bound";
  // Built and shown without any way to open a file: an operation the
  // program called would throw here.
  message_->SetText("Rootkit removed!");
  message_->Shown();
  message_->Timer1Timer(*message_);
  EXPECT_EQ(localizer_->Language(), "English");
  EXPECT_EQ(localizer_->Strings().Count(), 0u);
}

TEST_F(LocalizedWindowsTest, EveryWindowsTextsComeBackFromTheFile) {
  GiveStore();
  std::vector<std::unique_ptr<ui::Form>> windows;
  windows.push_back(std::make_unique<TfrmMain>(windows_, desktop_, context_));
  windows.push_back(std::make_unique<TfrmFound>(windows_, desktop_));
  windows.push_back(std::make_unique<TfrmUSB>(windows_, desktop_));
  windows.push_back(std::make_unique<TfrmSuggest>(windows_, desktop_));
  for (auto& window : windows) {
    SCOPED_TRACE(window->Name());
    const auto before = Texts(*window);
    localizer_->LocalizeComponent(kFile, "Wellgrist", *window, nullptr, TDirection::dirWrite);
    ChangeEveryText(*window);
    localizer_->LocalizeComponent(kFile, "Wellgrist", *window, nullptr, TDirection::dirRead);
    ExpectRestored(before, Texts(*window));
  }
  // The localizer's own form, through its own operations.
  const auto before = Texts(*message_);
  localizer_->SaveData(kFile);
  ChangeEveryText(*message_);
  localizer_->LoadData(kFile);
  ExpectRestored(before, Texts(*message_));
}

TEST_F(LocalizedWindowsTest, TheMainWindowsMessagesMoveAsCaptionsOfTheirItems) {
  GiveStore();
  TfrmMain main(windows_, desktop_, context_);
  auto* restart = dynamic_cast<controls::TMenuItem*>(main.FindComponent("constRestart"));
  ASSERT_NE(restart, nullptr);
  const std::string english = restart->Caption();
  localizer_->LocalizeComponent(kFile, "Wellgrist", main, nullptr, TDirection::dirWrite);
  localizer::FileStore store(machine_.files, kFile);
  EXPECT_EQ(store.ReadString("Wellgrist.frmMain.constRestart", "Caption", ""), english);
  store.WriteString("Wellgrist.frmMain.constRestart", "Caption", "Jetzt neu starten?");
  localizer_->LocalizeComponent(kFile, "Wellgrist", main, nullptr, TDirection::dirRead);
  EXPECT_EQ(restart->Caption(), "Jetzt neu starten?");
}

}  // namespace
}  // namespace app::testing
