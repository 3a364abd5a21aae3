// The program's windows built from their stored forms: what each holds and
// where, the rows of the results dialog and how they go back to their
// lists, and the handlers of every window.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/application_title.h"
#include "app/windows/exmes.h"
#include "app/windows/found.h"
#include "app/windows/mainr.h"
#include "app/windows/suggest.h"
#include "app/windows/tests/recording_desktop.h"
#include "app/windows/usbcheck.h"
#include "controls/enhlv/enhlv.h"
#include "controls/offbtn/office97_button.h"
#include "controls/standard/label.h"
#include "controls/standard/popup_menu.h"
#include "controls/standard/timer.h"
#include "platform/memory/memory_machine.h"
#include "ui/class_info.h"
#include "ui/property.h"

namespace app::testing {
namespace {

using controls::TEnhListView;
using controls::TOffice97Button;
using scanner::Findings;

class WindowsTest : public ::testing::Test {
 protected:
  WindowsTest() { desktop_.ProvideBitmaps(windows_); }

  std::unique_ptr<ui::Form> Make(const std::string& unit) {
    if (unit == "MAINR") return std::make_unique<TfrmMain>(windows_, desktop_, context_);
    if (unit == "FOUND") return std::make_unique<TfrmFound>(windows_, desktop_);
    if (unit == "USBCHECK") return std::make_unique<TfrmUSB>(windows_, desktop_);
    if (unit == "SUGGEST") return std::make_unique<TfrmSuggest>(windows_, desktop_);
    return std::make_unique<TfrmExMes>(windows_, desktop_, kApplicationTitle);
  }

  template <class T>
  static T& Get(const ui::Form& form, const std::string& name) {
    auto* found = dynamic_cast<T*>(form.FindComponent(name));
    if (found == nullptr) throw std::runtime_error("no " + name);
    return *found;
  }

  static void Click(const ui::Form& form, const std::string& name) {
    Get<ui::Control>(form, name).OnClick(Get<ui::Control>(form, name));
  }

  ui::testing::FakeWindowSystem windows_;
  RecordingDesktop desktop_;
  platform::memory::MemoryMachine machine_;
  scanner::ScanContext context_{machine_.machine(), {}};
};

std::string CaptionOf(ui::Component& component) {
  const ui::PropertyInfo* caption = component.Class().FindProperty("Caption");
  return caption ? std::get<std::string>(caption->get(component)) : std::string("-");
}

TEST_F(WindowsTest, EveryWindowHoldsItsComponentsWhereTheyBelong) {
  const struct {
    const char* unit;
    const char* name;
    const char* className;
    ui::Rect bounds;  // a right or bottom of -1: sized by its text
    const char* caption;
  } kCases[] = {
      {"MAINR", "frmMain", "TfrmMain", {}, "Quorvex Remover"},
      {"MAINR", "Image1", "TImage", {20, 8, 257, 197}, "-"},
      {"MAINR", "lblVersion", "TLabel", {36, 214, -1, -1}, "Quorvex Remover Version 1.0.1.3"},
      {"MAINR", "lblDesigned", "TLabel", {36, 237, -1, -1}, "The program is specially designed for"},
      {"MAINR", "lblRemoval", "TLabel", {36, 265, -1, -1}, "Quorvex/Vandrill Rootkit Removal"},
      {"MAINR", "lblMoreInfo", "TLabel", {36, 293, -1, -1}, "More info..."},
      {"MAINR", "btCheck", "TOffice97Button", {333, 54, 507, 125}, "Check Me Now!"},
      {"MAINR", "btUpdate", "TOffice97Button", {333, 146, 507, 217}, "Check Updates..."},
      {"MAINR", "btExit", "TOffice97Button", {333, 237, 507, 308}, "Exit"},
      {"MAINR", "GPanel1", "TGPanel", {0, 325, 530, 366}, ""},
      {"MAINR", "lblHalvorn", "TLabel", {308, 20, -1, -1}, "\u00A9 Halvorn Software"},
      {"FOUND", "frmFound", "TfrmFound", {}, "Quorvex Rootkit Detected"},
      {"FOUND", "lvList", "TEnhListView", {20, 14, 617, 283}, "-"},
      {"FOUND", "btRemove", "TOffice97Button", {292, 298, 447, 353}, "Remove Selected"},
      {"FOUND", "btExit", "TOffice97Button", {458, 298, 613, 353}, "Exit"},
      {"USBCHECK", "frmUSB", "TfrmUSB", {}, "Check Removable Drives"},
      {"USBCHECK", "GPanel1", "TGPanel", {0, 0, 568, 57}, ""},
      {"USBCHECK", "Label1", "TLabel", {20, 20, -1, -1},
       "Please plug your USB device into your computer and click the Check"},
      {"USBCHECK", "btCheck", "TOffice97Button", {81, 69, 255, 140}, "Check Me Now!"},
      {"USBCHECK", "btExit", "TOffice97Button", {326, 69, 500, 140}, "Exit"},
      {"SUGGEST", "frmSuggest", "TfrmSuggest", {}, "We found no Quorvex infection"},
      {"SUGGEST", "GPanel1", "TGPanel", {0, 0, 417, 57}, ""},
      {"SUGGEST", "Label1", "TLabel", {67, 20, -1, -1},
       "We found no Quorvex rootkit on your computer!"},
      {"SUGGEST", "btCheck", "TOffice97Button", {37, 78, 373, 133},
       "Check for Rootkits using Wellgrist"},
      {"SUGGEST", "Office97Button1", "TOffice97Button", {38, 146, 374, 201},
       "Free of charge Ostrival malware scanner"},
      {"SUGGEST", "btExit", "TOffice97Button", {281, 218, 377, 257}, "Close"},
      {"EXMES", "frmExMes", "TfrmExMes", {}, "Quorvex Remover"},
      {"EXMES", "Panel1", "TPanel", {0, 0, 492, 20}, ""},
      {"EXMES", "Panel2", "TPanel", {0, 65, 492, 107}, ""},
      {"EXMES", "Button1", "TButton", {407, 11, 485, 37}, "OK"},
      {"EXMES", "lblText", "TLabel", {0, 20, 492, 65}, ""},
      {"EXMES", "Timer1", "TTimer", {}, "-"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.unit) + " " + c.name);
    const auto form = Make(c.unit);
    ui::Component* component =
        form->Name() == c.name ? form.get() : form->FindComponent(c.name);
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(component->Class().Name(), c.className);
    EXPECT_EQ(CaptionOf(*component), c.caption);
    auto* control = dynamic_cast<ui::Control*>(component);
    if (control == nullptr || control == form.get()) continue;
    const ui::Rect at = control->BoundsRect();
    EXPECT_EQ(at.left, c.bounds.left);
    EXPECT_EQ(at.top, c.bounds.top);
    if (c.bounds.right >= 0) {
      EXPECT_EQ(at.right, c.bounds.right);
    }
    if (c.bounds.bottom >= 0) {
      EXPECT_EQ(at.bottom, c.bounds.bottom);
    }
  }
}

TEST_F(WindowsTest, FramesSizesColoursAndFonts) {
  const auto main = Make("MAINR");
  EXPECT_EQ(main->BorderStyle(), ui::TFormBorderStyle::bsDialog);
  EXPECT_EQ(main->Position(), ui::TPosition::poScreenCenter);
  EXPECT_EQ(main->ClientRect(), (ui::Rect{0, 0, 530, 366}));
  EXPECT_EQ(main->Color(), 0x00FFFFFFu);
  const auto& label = Get<controls::TLabel>(*main, "lblMoreInfo");
  EXPECT_EQ(label.FontOf().Style(), ui::Font::kBold | ui::Font::kUnderline);
  EXPECT_EQ(label.FontOf().Color(), 0x00912400u);
  EXPECT_EQ(label.Cursor(), ui::TCursor::crHandPoint);
  auto& check = Get<TOffice97Button>(*main, "btCheck");
  EXPECT_EQ(check.FontOf().Name(), "Verdana");
  EXPECT_EQ(check.FontOf().Size(), 8);
  EXPECT_EQ(check.HoverFont()->Name(), "MS Sans Serif");
  EXPECT_EQ(check.HoverFont()->Color(), 0x00912400u);
  EXPECT_EQ(check.ActiveColor(), 0x00FF7C51u);
  EXPECT_EQ(check.InactiveColor(), 0x00FFBCA6u);
  EXPECT_EQ(check.Color(), 0x00FFF3EFu);
  EXPECT_EQ(check.InactiveGlyph()->Width(), 32) << "the custom glyphs";
  EXPECT_TRUE(Get<TOffice97Button>(*main, "btUpdate").ActiveGlyph()->Empty())
      << "only an inactive glyph";

  const auto found = Make("FOUND");
  EXPECT_EQ(found->BorderStyle(), ui::TFormBorderStyle::bsSizeable);
  EXPECT_EQ(found->Width(), 640);
  EXPECT_EQ(found->Height(), 400);
  const auto& list = Get<TEnhListView>(*found, "lvList");
  EXPECT_EQ(list.ViewStyle(), controls::TViewStyle::vsReport);
  EXPECT_TRUE(list.Checkboxes());
  EXPECT_FALSE(list.ShowColumnHeaders());
  EXPECT_FALSE(list.ShowToolTips());
  ASSERT_EQ(list.Columns().Count(), 2);
  EXPECT_EQ(list.Columns().Caption(1), "Value");
  EXPECT_EQ(list.Columns().Width(0), 120);
  EXPECT_EQ(list.Columns().Width(1), 470);

  const auto message = Make("EXMES");
  EXPECT_EQ(message->Color(), 0x00FFF3EFu);
  EXPECT_EQ(message->FontOf().Height(), -10);
  EXPECT_FALSE(Get<controls::TTimer>(*message, "Timer1").Enabled());
  EXPECT_EQ(Get<controls::TTimer>(*message, "Timer1").Interval(), 2500);
}

TEST_F(WindowsTest, DefaultCancelAndTabOrder) {
  const struct {
    const char* unit;
    std::vector<const char*> tabOrder;
    const char* defaultButton;
    const char* cancelButton;
  } kCases[] = {
      {"MAINR", {"btCheck", "btUpdate", "btExit"}, "btCheck", "btExit"},
      {"FOUND", {"btRemove", "btExit", "lvList"}, "btRemove", "btExit"},
      {"USBCHECK", {"btCheck", "btExit"}, "btCheck", "btExit"},
      {"SUGGEST", {"btCheck", "Office97Button1", "btExit"}, "btCheck", "btExit"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.unit);
    const auto form = Make(c.unit);
    for (std::size_t i = 0; i < c.tabOrder.size(); ++i) {
      EXPECT_EQ(Get<ui::WinControl>(*form, c.tabOrder[i]).TabOrder(), static_cast<int>(i))
          << c.tabOrder[i];
    }
    for (const char* name : c.tabOrder) {
      if (auto* button = dynamic_cast<TOffice97Button*>(form->FindComponent(name))) {
        EXPECT_EQ(button->Default(), std::string(name) == c.defaultButton ||
                                         std::string(name) == "Office97Button1")
            << name;
        EXPECT_EQ(button->Cancel(), std::string(name) == c.cancelButton) << name;
      }
    }
  }
}

// The rows of the results dialog, as kind text, value, checked and tag.
struct Row {
  std::string kind;
  std::string value;
  bool checked;
  std::intptr_t tag;
  friend bool operator==(const Row&, const Row&) = default;
};

std::vector<Row> Rows(const TfrmFound& found) {
  std::vector<Row> rows;
  const auto& items = dynamic_cast<TEnhListView&>(*found.FindComponent("lvList")).Items();
  for (int i = 0; i < items.Count(); ++i) {
    const auto& row = items[i];
    rows.push_back({row.Caption(), row.SubItems().Count() ? row.SubItems().Text(0) : "",
                    row.Checked(), row.Data()});
  }
  return rows;
}

void Uncheck(TfrmFound& found, const std::vector<int>& rows) {
  auto& items = dynamic_cast<TEnhListView&>(*found.FindComponent("lvList")).Items();
  for (int row : rows) items[row].SetChecked(false);
}

TEST_F(WindowsTest, FillListPutsKeysFirstEveryRowChecked) {
  TfrmFound found(windows_, desktop_);
  const Findings keys = {"HKLM\\SYSTEM\\CurrentControlSet\\Services\\MrxNet"};
  const Findings files = {"C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXNET.SYS", "E:\\~WTR4141.tmp"};
  found.FillList(&keys, &files);
  EXPECT_EQ(Rows(found), (std::vector<Row>{{"Registry Key", keys[0], true, 0},
                                           {"File", files[0], true, 1},
                                           {"File", files[1], true, 1}}));
  // Filled again: the rows of the new lists only; an absent list adds none.
  found.FillList(nullptr, &keys);
  EXPECT_EQ(Rows(found), (std::vector<Row>{{"File", keys[0], true, 1}}));
}

TEST_F(WindowsTest, ApplySelectionSendsCheckedRowsBackByTheirTag) {
  const Findings keys = {"HKLM\\A", "HKLM\\B"};
  const Findings files = {"C:\\a.sys", "", "E:\\b.tmp"};
  const struct {
    const char* what;
    std::vector<int> unchecked;
    Findings keys, files;
  } kCases[] = {
      {"every row checked: the lists as they were, empty entry included", {}, keys, files},
      {"one file unchecked", {4}, keys, {"C:\\a.sys"}},
      {"one key unchecked; the empty value is dropped", {0}, {"HKLM\\B"}, {"C:\\a.sys", "E:\\b.tmp"}},
      {"every row unchecked", {0, 1, 2, 3, 4}, {}, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    TfrmFound found(windows_, desktop_);
    found.FillList(&keys, &files);
    Uncheck(found, c.unchecked);
    Findings gotKeys = keys;
    Findings gotFiles = files;
    found.ApplySelection(&gotKeys, &gotFiles);
    EXPECT_EQ(gotKeys, c.keys);
    EXPECT_EQ(gotFiles, c.files);
  }
}

TEST_F(WindowsTest, TheTagNotTheTranslatedKindTextDecidesWhereARowGoes) {
  TfrmFound found(windows_, desktop_);
  // Translated so that both kinds read alike.
  Get<controls::TMenuItem>(found, "constRegistryKey").SetCaption("Eintrag");
  Get<controls::TMenuItem>(found, "constFile").SetCaption("Eintrag");
  Findings keys = {"HKLM\\A"};
  Findings files = {"C:\\a.sys", "C:\\b.sys"};
  found.FillList(&keys, &files);
  EXPECT_EQ(Rows(found)[0].kind, "Eintrag");
  Uncheck(found, {2});
  found.ApplySelection(&keys, &files);
  EXPECT_EQ(keys, (Findings{"HKLM\\A"}));
  EXPECT_EQ(files, (Findings{"C:\\a.sys"}));
  // Without both lists nothing is rewritten.
  Findings only = {"HKLM\\A"};
  found.ApplySelection(&only, nullptr);
  EXPECT_EQ(only, (Findings{"HKLM\\A"}));
}

TEST_F(WindowsTest, ConfirmingButtonsAnswerOkEveryOtherCloseCancel) {
  const struct {
    const char* unit;
    const char* button;
    int result;
  } kCases[] = {
      {"FOUND", "btRemove", ui::mrOk},   {"FOUND", "btExit", ui::mrCancel},
      {"USBCHECK", "btCheck", ui::mrOk}, {"USBCHECK", "btExit", ui::mrCancel},
      {"SUGGEST", "btExit", ui::mrCancel},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.unit) + " " + c.button);
    const auto form = Make(c.unit);
    windows_.whileModal = [&](ui::Form& shown) { Click(shown, c.button); };
    EXPECT_EQ(form->ShowModal(), c.result);
  }
}

TEST_F(WindowsTest, LinksOpenTheMakersPagesAndLeaveTheWindowAsItWas) {
  const auto main = Make("MAINR");
  Click(*main, "lblMoreInfo");
  Click(*main, "lblHalvorn");
  const auto suggest = Make("SUGGEST");
  windows_.whileModal = [&](ui::Form& shown) {
    Click(shown, "btCheck");
    Click(shown, "Office97Button1");
    EXPECT_EQ(shown.ModalResult(), ui::mrNone) << "the dialog stays open";
  };
  suggest->ShowModal();
  ASSERT_EQ(desktop_.launches.size(), 4u);
  const std::vector<std::pair<const ui::Form*, std::string>> expected = {
      {main.get(), "http://www.halvorn.example/quorvex"},
      {main.get(), "http://www.halvorn.example/"},
      {suggest.get(), "http://www.halvorn.example/wellgrist/download.htm"},
      {suggest.get(), "http://www.halvorn.example/security/ostrival.html"},
  };
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(desktop_.launches[i].owner, expected[i].first);
    EXPECT_EQ(desktop_.launches[i].file, expected[i].second);
    EXPECT_EQ(desktop_.launches[i].parameters, "");
  }
  EXPECT_TRUE(windows_.closed.empty());
}

TEST_F(WindowsTest, UpdateCheckLaunchesTheUpdaterAndHeedsOnlyItsFirstNotification) {
  auto main = Make("MAINR");
  auto& frmMain = static_cast<TfrmMain&>(*main);
  desktop_.windowHandle = -70000;
  // A notification without a launch is ignored, close bit or not.
  EXPECT_EQ(frmMain.WindowMessage(1926, 0x20, 0), std::optional<std::intptr_t>(0));
  EXPECT_EQ(desktop_.terminated, 0);
  EXPECT_EQ(frmMain.WindowMessage(1925, 0x20, 0), std::nullopt) << "other messages pass";

  Click(frmMain, "btUpdate");
  ASSERT_EQ(desktop_.launches.size(), 1u);
  EXPECT_EQ(desktop_.launches[0].file, "C:\\Tools\\Quorvex\\tollvane.exe");
  EXPECT_EQ(desktop_.launches[0].parameters,
            "http://www.halvorn.example/quorvexremover.ini /w -70000");
  EXPECT_TRUE(frmMain.UpdateStarted());
  frmMain.WindowMessage(1926, 0x1F, 0);  // every bit but the close bit
  EXPECT_FALSE(frmMain.UpdateStarted());
  frmMain.WindowMessage(1926, 0x20, 0);
  EXPECT_EQ(desktop_.terminated, 0) << "the second notification is not counted";

  Click(frmMain, "btUpdate");
  frmMain.WindowMessage(1926, 0x20, 0);
  EXPECT_EQ(desktop_.terminated, 1);
}

TEST_F(WindowsTest, MainWindowReadsItsMessagesAsTheyAreNowAndExitCloses) {
  auto main = Make("MAINR");
  auto& frmMain = static_cast<TfrmMain&>(*main);
  EXPECT_EQ(frmMain.MessageText("constRestart"), "Restart your computer now?");
  EXPECT_EQ(frmMain.MessageText("constWeremovedmalwarefiles"),
            "We removed malware files from your removable media. If you have another USB "
            "devies please try again...");
  Get<controls::TMenuItem>(frmMain, "constRestart").SetCaption("Neu starten?");
  EXPECT_EQ(frmMain.MessageText("constRestart"), "Neu starten?");
  const auto& menu = Get<controls::TPopupMenu>(frmMain, "pmnLang");
  ASSERT_EQ(menu.Items().size(), 6u);
  EXPECT_EQ(menu.Items().front()->Name(), "constYouhaveselectednoitemsforremovalTryagain");
  EXPECT_EQ(menu.Items().back()->Name(), "constRestart");
  EXPECT_THROW(frmMain.MessageText("btCheck"), std::logic_error) << "not a message item";

  Click(frmMain, "btExit");
  EXPECT_EQ(windows_.closed, (std::vector<ui::Form*>{&frmMain}));
}

TEST_F(WindowsTest, TimedMessageClosesOnceItsTimerFires) {
  auto form = Make("EXMES");
  auto& message = static_cast<TfrmExMes&>(*form);
  message.SetText("Your computer is clean now!\nSuggest you to check all USB flash devices.");
  EXPECT_TRUE(windows_.timers.empty()) << "built with its timer off";
  message.EnableTimer();
  windows_.whileModal = [&](ui::Form&) {
    // Showing it switched the timer on again: the count goes on.
    ASSERT_EQ(windows_.timers.size(), 1u);
    EXPECT_EQ(windows_.timers[0].milliseconds, 2500u);
    windows_.timers[0].elapsed();
    EXPECT_FALSE(windows_.timers[0].running) << "off before it closes";
  };
  EXPECT_EQ(message.ShowModal(), ui::mrCancel);
  EXPECT_EQ(Get<controls::TLabel>(message, "lblText").Caption(),
            "Your computer is clean now!\nSuggest you to check all USB flash devices.");

  auto other = Make("EXMES");
  windows_.whileModal = [&](ui::Form& shown) { Click(shown, "Button1"); };
  EXPECT_EQ(other->ShowModal(), ui::mrCancel) << "OK closes at once";
  EXPECT_TRUE(windows_.timers.back().running) << "until the form goes";
  other.reset();
  EXPECT_FALSE(windows_.timers.back().running) << "the timer dies with the form";
}

}  // namespace
}  // namespace app::testing
