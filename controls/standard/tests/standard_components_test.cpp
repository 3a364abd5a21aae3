// The timer and the message menu, read from a stored form as the windows
// hold them.

#include <gtest/gtest.h>

#include <any>
#include <functional>
#include <memory>

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
                 ui::FormEnvironment{classes_, nullptr, [this](const std::string& name) -> std::any {
                                       if (name != "Timer1Timer") return {};
                                       return std::function<void(ui::Component&)>(
                                           [this](ui::Component&) { ++ticks_; });
                                     }});
  }

  ui::ClassRegistry classes_ = [] {
    ui::ClassRegistry classes;
    classes.Register<TTimer>().Register<TPopupMenu>().Register<TMenuItem>();
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

}  // namespace
}  // namespace controls
