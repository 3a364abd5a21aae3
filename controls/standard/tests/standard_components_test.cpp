// The timer and the message menu, read from a stored form as the windows
// hold them.

#include <gtest/gtest.h>

#include <any>
#include <functional>
#include <memory>

#include "controls/standard/button.h"
#include "controls/standard/image.h"
#include "controls/standard/label.h"
#include "controls/standard/panel.h"
#include "controls/standard/popup_menu.h"
#include "controls/standard/timer.h"
#include "ui/form.h"
#include "ui/form_error.h"
#include "ui/form_reader.h"
#include "ui/tests/fake_window_system.h"

namespace controls {
namespace {

using ui::testing::FakeWindowSystem;

class StandardComponentsTest : public ::testing::Test {
 protected:
  void Read(const char* text) {
    ui::ReadForm(form_, "Exmes", text,
                 ui::FormEnvironment{classes_,
                                     [this](const std::string& name) {
                                       return windows_.BitmapResource(name);
                                     },
                                     [this](const std::string& name) -> std::any {
                                       if (name != "Timer1Timer") return {};
                                       return std::function<void(ui::Component&)>(
                                           [this](ui::Component&) { ++ticks_; });
                                     }});
  }

  ui::ClassRegistry classes_ = [] {
    ui::ClassRegistry classes;
    classes.Register<TTimer>().Register<TPopupMenu>().Register<TMenuItem>();
    classes.Register<TLabel>().Register<TImage>().Register<TPanel>().Register<TButton>();
    return classes;
  }();
  FakeWindowSystem windows_;
  ui::Form form_{windows_};
  int ticks_ = 0;
};

TEST_F(StandardComponentsTest, ATimerRunsWhileEnabledWithAHandler) {
  Read(R"(object frmExMes: TForm
  object Timer1: TTimer
    Interval = 2500
    OnTimer = Timer1Timer
  end
  object Idle: TTimer
  end
end)");
  auto& timer = static_cast<TTimer&>(form_.Components(0));
  auto& idle = static_cast<TTimer&>(form_.Components(1));
  ASSERT_EQ(windows_.timers.size(), 1u) << "only the timer with a handler starts";
  EXPECT_EQ(windows_.timers[0].milliseconds, 2500u);
  EXPECT_TRUE(timer.Running());
  EXPECT_FALSE(idle.Running());
  windows_.timers[0].elapsed();
  EXPECT_EQ(ticks_, 1);

  // Stopping, a new interval, starting again: each time one timer runs.
  timer.SetEnabled(false);
  EXPECT_FALSE(windows_.timers[0].running);
  timer.SetInterval(100);
  EXPECT_EQ(windows_.timers.size(), 1u) << "not while disabled";
  timer.SetEnabled(true);
  ASSERT_EQ(windows_.timers.size(), 2u);
  EXPECT_EQ(windows_.timers[1].milliseconds, 100u);
  timer.SetInterval(0);
  EXPECT_FALSE(windows_.timers[1].running) << "an interval of 0 stops it";
  timer.SetInterval(50);
  form_.Release(timer).reset();
  EXPECT_FALSE(windows_.timers.back().running) << "a timer that goes stops";
}

TEST_F(StandardComponentsTest, TheMessageMenuKeepsNamedCaptionsInOrder) {
  Read(R"(object frmFound: TForm
  object pmnLang: TPopupMenu
    object constRegistryKey: TMenuItem
      Caption = "Registry Key"
    end
    object constFile: TMenuItem
      Caption = "File"
    end
  end
end)");
  auto& menu = static_cast<TPopupMenu&>(form_.Components(0));
  ASSERT_EQ(menu.Items().size(), 2u);
  EXPECT_EQ(menu.Items()[0]->Name(), "constRegistryKey");
  EXPECT_EQ(menu.Items()[1]->Caption(), "File");
  EXPECT_EQ(menu.Items()[1]->Owner(), &form_) << "the form owns the items; the menu lists them";
  form_.Release(*menu.Items()[0]).reset();
  ASSERT_EQ(menu.Items().size(), 1u);
  EXPECT_EQ(menu.Items()[0]->Name(), "constFile");

  EXPECT_THROW(Read(R"(object frmFound: TForm
  object stray: TMenuItem
  end
end)"),
               ui::FormError);
}

TEST_F(StandardComponentsTest, LabelsAndImagesSizeThemselves) {
  // A 237 x 189 picture resource at 1 bit per pixel: header, two palette
  // entries, rows of 32 bytes.
  std::vector<std::uint8_t> logo(40 + 8 + 32 * 189, 0);
  logo[0] = 40;
  logo[4] = 237;
  logo[8] = 189;
  logo[12] = 1;
  logo[14] = 1;
  windows_.bitmaps["LOGO"] = logo;
  Read(R"(object frmMain: TForm
  object Image1: TImage
    Left = 20
    Top = 8
    AutoSize = true
    Picture = bitmap("LOGO")
  end
  object lblVersion: TLabel
    Left = 36
    Top = 214
    Caption = "Quorvex Remover"
    Font.Style = [fsBold]
    Transparent = true
  end
  object lblWrapped: TLabel
    Width = 50
    WordWrap = true
    Caption = "a long text that wraps"
  end
end)");
  EXPECT_EQ(form_.Components(0).Class().Name(), "TImage");
  auto& image = static_cast<TImage&>(form_.Components(0));
  auto& version = static_cast<TLabel&>(form_.Components(1));
  auto& wrapped = static_cast<TLabel&>(form_.Components(2));
  EXPECT_EQ(image.BoundsRect(), (ui::Rect{20, 8, 257, 197}));
  // The recorder measures 6 pixels a character, 13 high.
  EXPECT_EQ(version.BoundsRect(), (ui::Rect{36, 214, 36 + 15 * 6, 214 + 13}));
  EXPECT_TRUE(version.Transparent());
  version.SetCaption("Quorvex");
  EXPECT_EQ(version.Width(), 7 * 6);
  EXPECT_EQ(wrapped.Width(), 50) << "a wrapped label keeps its width";
  // Eight characters to a line: "a long", "text", "that", "wraps".
  EXPECT_EQ(wrapped.Height(), 4 * 13) << "and takes the height of its lines";
  version.SetAutoSize(false);
  version.SetCaption("Quorvex Remover Version 1.0.1.3");
  EXPECT_EQ(version.Width(), 7 * 6) << "without AutoSize the size stays";
}

TEST_F(StandardComponentsTest, AWrappedLabelFollowsItsCaptionWidthAndFont) {
  TLabel& label = form_.Adopt(std::make_unique<TLabel>());
  label.SetParent(&form_);
  label.SetBounds(10, 20, 60, 99);
  label.SetWordWrap(true);
  EXPECT_EQ(label.BoundsRect(), (ui::Rect{10, 20, 70, 20 + 13})) << "empty: one line";
  label.SetCaption("one two three four five");  // ten characters to a line
  EXPECT_EQ(label.Height(), 3 * 13);
  label.SetWidth(200);
  label.GetFont()->SetSize(12);  // any font change measures again
  EXPECT_EQ(label.Height(), 13);
  label.SetAutoSize(false);
  label.SetWidth(30);
  label.SetCaption("one two three four five six");
  EXPECT_EQ(label.Height(), 13) << "without AutoSize the size stays";
  label.SetAutoSize(true);
  EXPECT_EQ(label.Height(), 6 * 13) << "AutoSize again sizes at once";
  label.SetWordWrap(false);
  EXPECT_EQ(label.BoundsRect(), (ui::Rect{10, 20, 10 + 27 * 6, 20 + 13})) << "one line again";
}

TEST_F(StandardComponentsTest, PanelBevelsReachIn) {
  TPanel panel;
  const struct {
    TPanelBevel inner, outer;
    int width, inset;
  } kCases[] = {
      {TPanelBevel::bvNone, TPanelBevel::bvNone, 2, 0},
      {TPanelBevel::bvNone, TPanelBevel::bvRaised, 1, 1},
      {TPanelBevel::bvLowered, TPanelBevel::bvRaised, 2, 4},
      {TPanelBevel::bvSpace, TPanelBevel::bvLowered, 3, 3},
      {TPanelBevel::bvSpace, TPanelBevel::bvSpace, 3, 0},
  };
  for (const auto& c : kCases) {
    panel.SetBevelInner(c.inner);
    panel.SetBevelOuter(c.outer);
    panel.SetBevelWidth(c.width);
    EXPECT_EQ(panel.BevelInset(), c.inset);
  }
}

TEST_F(StandardComponentsTest, PushButtonsAnswerEnterEscapeAndSpace) {
  auto add = [&](const char* name) -> TButton& {
    auto& button = form_.Adopt(std::make_unique<TButton>());
    button.SetName(name);
    button.SetParent(&form_);
    return button;
  };
  auto& ok = add("ok");
  auto& cancel = add("cancel");
  auto& other = form_.Adopt(std::make_unique<ui::WinControl>());
  other.SetParent(&form_);
  ok.SetDefault(true);
  ok.SetModalResult(ui::mrOk);
  cancel.SetCancel(true);
  cancel.SetModalResult(ui::mrCancel);
  std::vector<std::string> clicks;
  for (TButton* button : {&ok, &cancel}) {
    button->OnClick.handler = [&clicks, this](ui::Component& sender) {
      clicks.push_back(sender.Name() + " " + std::to_string(form_.ModalResult()));
    };
  }
  other.SetFocus();
  EXPECT_TRUE(form_.OfferDialogKey(ui::kVkReturn, {}));
  EXPECT_TRUE(form_.OfferDialogKey(ui::kVkEscape, {}));
  EXPECT_FALSE(form_.OfferDialogKey(ui::kVkEscape, ui::ShiftState{true, false, false}));
  // With the other push button focused, Enter is that button's.
  cancel.SetFocus();
  EXPECT_TRUE(form_.OfferDialogKey(ui::kVkReturn, {}));
  EXPECT_TRUE(cancel.KeyDown(ui::kVkSpace, {}));
  EXPECT_EQ(clicks, (std::vector<std::string>{"ok 1", "cancel 2", "cancel 2", "cancel 2"}));
}

}  // namespace
}  // namespace controls
