// Input through real windows: the mouse reaching the right control in its
// own coordinates (lightweight ones through their parent's window), the
// capture, the control under a screen point, the focus and its
// announcements, Tab order, dialog keys and accelerators. Input is given
// with SetCursorPos and SendInput, the path a user's input takes.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ui/win32/tests/host_fixture.h"

namespace ui::win32::testing {
namespace {

class InputHostTest : public HostTest {
 protected:
  // The layout the mouse cases are made on (client coordinates of "form"):
  //   label (20,20)-(60,50), cover (50,40)-(80,60) on top of it,
  //   off (100,20)-(130,40) disabled, gone (100,50)-(130,70) invisible,
  //   button (140,20)-(190,60) windowed, with the lightweight inner at (5,5)
  //   in it, and under (140,70)-(190,100) below the windowed over
  //   (150,80)-(180,95).
  void BuildMouseLayout() {
    form_ = MakeForm("form", 200, 150);
    Add<LightProbe>(*form_, *form_, "label", {20, 20, 60, 50});
    Add<LightProbe>(*form_, *form_, "cover", {50, 40, 80, 60});
    Add<LightProbe>(*form_, *form_, "off", {100, 20, 130, 40}).SetEnabled(false);
    Add<LightProbe>(*form_, *form_, "gone", {100, 50, 130, 70}).SetVisible(false);
    button_ = &Add<Probe>(*form_, *form_, "button", {140, 20, 190, 60});
    Add<LightProbe>(*form_, *button_, "inner", {5, 5, 15, 15});
    Add<Probe>(*form_, *form_, "over", {150, 80, 180, 95});
    // Added after "over", yet a lightweight control lies below every window.
    Add<LightProbe>(*form_, *form_, "under", {140, 70, 190, 100});
    form_->Show();
    Pump(30);
  }

  Control& Named(const std::string& name) {
    return *dynamic_cast<Control*>(form_->FindComponent(name));
  }

  void Click(Point client, bool right = false) {
    MoveMouse(Screen(*form_, client));
    SendButton(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    SendButton(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    Pump(500, [&] { return log_.size() >= 2; });
  }

  std::unique_ptr<ProbeForm> form_;
  Probe* button_ = nullptr;
};

// ---- the mouse ----

struct MouseCase {
  const char* name;
  Point client;  // in the form
  bool right;
  Log expected;
};

TEST_F(InputHostTest, MouseMessagesReachTheControlUnderThePointerInItsCoordinates) {
  BuildMouseLayout();
  const MouseCase kCases[] = {
      {"lightweight", {25, 25}, false, {"label down L 5,5", "label up L 5,5"}},
      {"lightweight, right button", {26, 27}, true, {"label down R 6,7", "label up R 6,7"}},
      {"the last child lies on top", {55, 45}, false, {"cover down L 5,5", "cover up L 5,5"}},
      {"beside the one on top", {45, 35}, false, {"label down L 25,15", "label up L 25,15"}},
      {"a disabled one lets it through", {110, 30}, false,
       {"form down L 110,30", "form up L 110,30"}},
      {"an invisible one is not there", {110, 60}, false,
       {"form down L 110,60", "form up L 110,60"}},
      {"windowed", {165, 50}, false, {"button down L 25,30", "button up L 25,30"}},
      {"lightweight in a windowed one", {146, 27}, false, {"inner down L 1,2", "inner up L 1,2"}},
      {"a window above a lightweight one", {160, 85}, false,
       {"over down L 10,5", "over up L 10,5"}},
      {"the lightweight one beside it", {145, 75}, false, {"under down L 5,5", "under up L 5,5"}},
  };
  for (const MouseCase& c : kCases) {
    SCOPED_TRACE(c.name);
    log_.clear();
    Click(c.client, c.right);
    EXPECT_EQ(log_, c.expected);
    EXPECT_EQ(windows_.Captured(), nullptr);
  }
}

TEST_F(InputHostTest, APressedControlKeepsTheMouseUntilTheRelease) {
  BuildMouseLayout();
  auto& label = dynamic_cast<LightProbe&>(Named("label"));
  int clicks = 0;
  label.OnClick.handler = [&](Component&) { ++clicks; };
  label.recordMoves = true;
  button_->recordMoves = true;

  // Lightweight: its parent's window holds the mouse for it.
  MoveMouse(Screen(*form_, {25, 25}));
  log_.clear();
  SendButton(MOUSEEVENTF_LEFTDOWN);
  Pump(30);
  MoveMouse(Screen(*form_, {-30, 200}));
  SendButton(MOUSEEVENTF_LEFTUP);
  Pump(30);
  EXPECT_EQ(Without("move 5,5"),
            (Log{"label down L 5,5", "label move -50,180", "label up L -50,180"}));
  EXPECT_EQ(clicks, 0) << "released outside";
  EXPECT_EQ(windows_.Captured(), nullptr);

  // Windowed: the control's own capture; a lightweight control under the
  // pointer gets nothing meanwhile.
  MoveMouse(Screen(*form_, {165, 50}));
  log_.clear();
  SendButton(MOUSEEVENTF_LEFTDOWN);
  Pump(30);
  EXPECT_EQ(windows_.Captured(), button_);
  MoveMouse(Screen(*form_, {25, 25}));
  SendButton(MOUSEEVENTF_LEFTUP);
  Pump(30);
  // (After the release the pointer's window gets a move of its own.)
  Log held = Without("move 25,30");
  held.resize(std::min<std::size_t>(held.size(), 3));
  EXPECT_EQ(held, (Log{"button down L 25,30", "button move -115,5", "button up L -115,5"}));
  EXPECT_EQ(windows_.Captured(), nullptr);

  // A window holding the capture gets its moves itself, not its
  // lightweight child under the pointer.
  windows_.SetCapture(*form_);
  EXPECT_EQ(windows_.Captured(), form_.get());
  form_->recordMoves = true;
  log_.clear();
  MoveMouse(Screen(*form_, {30, 30}));
  SendButton(MOUSEEVENTF_LEFTDOWN);
  SendButton(MOUSEEVENTF_LEFTUP);
  Pump(30);
  EXPECT_EQ(Without("move 30,30"), (Log{"form down L 30,30", "form up L 30,30"}));
  EXPECT_NE(log_.front(), "form down L 30,30") << "the form had the move";
  EXPECT_EQ(windows_.Captured(), nullptr);
}

TEST_F(InputHostTest, ADoubleClickIsAPressWithOnDblClick) {
  BuildMouseLayout();
  int doubles = 0;
  button_->OnDblClick.handler = [&](Component&) { ++doubles; };
  MoveMouse(Screen(*form_, {160, 30}));
  log_.clear();
  for (int i = 0; i < 2; ++i) {
    SendButton(MOUSEEVENTF_LEFTDOWN);
    SendButton(MOUSEEVENTF_LEFTUP);
  }
  Pump(50);
  EXPECT_EQ(log_, (Log{"button down L 20,10", "button up L 20,10", "button down L 20,10",
                       "button up L 20,10"}));
  EXPECT_EQ(doubles, 1);
}

struct HitCase {
  const char* name;
  Point client;  // in the form
  const char* expected;
};

TEST_F(InputHostTest, ControlAtScreenIsTheTopmostControlThere) {
  BuildMouseLayout();
  const HitCase kCases[] = {
      {"lightweight", {25, 25}, "label"},
      {"the last child on top", {55, 45}, "cover"},
      {"disabled controls count", {110, 30}, "off"},
      {"invisible ones do not", {110, 60}, "form"},
      {"windowed", {165, 50}, "button"},
      {"lightweight in a windowed one", {146, 27}, "inner"},
      {"windowed above lightweight", {160, 85}, "over"},
      {"the lightweight one beside it", {145, 75}, "under"},
      {"the form's frame", {100, -5}, "form"},
  };
  for (const HitCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const Control* hit = windows_.ControlAtScreen(Screen(*form_, c.client));
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->Name(), c.expected);
  }
  // Client points of every kind of control map to the screen and back.
  for (const char* name : {"label", "cover", "button", "inner", "over"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(windows_.ControlAtScreen(Screen(Named(name), {1, 1})), &Named(name));
  }
  POINT origin{0, 0};
  ClientToScreen(Window(*form_), &origin);
  EXPECT_EQ(Screen(Named("inner"), {1, 2}), (Point{origin.x + 146, origin.y + 27}));

  // Another form on top of this one; nothing of ours far away.
  auto other = MakeForm("other", 50, 50);
  other->Show();
  POINT otherOrigin{0, 0};
  ClientToScreen(Window(*other), &otherOrigin);
  EXPECT_EQ(windows_.ControlAtScreen({otherOrigin.x + 5, otherOrigin.y + 5}), other.get());
  EXPECT_EQ(windows_.ControlAtScreen({1270, 1010}), nullptr);
}

// ---- focus ----

TEST_F(InputHostTest, FocusGoesFirstToTheTabOrderAndEveryMoveIsAnnounced) {
  auto form = MakeForm("form");
  auto& a = Add<Probe>(*form, *form, "a", {0, 0, 20, 20});
  auto& b = Add<Probe>(*form, *form, "b", {30, 0, 50, 20});
  a.SetTabStop(true);
  b.SetTabStop(true);
  b.SetTabOrder(0);
  b.recordFocusChanges = true;
  form->Show();
  Pump(30);
  EXPECT_EQ(log_, (Log{"b gained", "b heard focus on b"})) << "the first in tab order";

  log_.clear();
  EXPECT_TRUE(a.SetFocus());
  EXPECT_EQ(windows_.Focused(), &a);
  EXPECT_EQ(log_, (Log{"b lost", "a gained", "b heard focus on a"}));

  // To another form and back: the focus comes back where it was.
  auto other = MakeForm("other");
  auto& c = Add<Probe>(*other, *other, "c", {0, 0, 20, 20});
  c.SetTabStop(true);
  log_.clear();
  other->Show();
  Pump(30);
  EXPECT_EQ(log_, (Log{"a lost", "b heard focus on c", "c gained"}));
  log_.clear();
  SetForegroundWindow(Window(*form));
  Pump(30);
  EXPECT_EQ(log_, (Log{"c lost", "a gained", "b heard focus on a"}));

  // Nothing to focus on a form that is not shown.
  auto hidden = MakeForm("hidden");
  auto& d = Add<Probe>(*hidden, *hidden, "d", {0, 0, 20, 20});
  EXPECT_FALSE(d.SetFocus());
}

TEST_F(InputHostTest, TabWalksTheTabOrderThroughContainersAndWrapsRound) {
  auto form = MakeForm("form");
  auto tabStop = [&](WinControl& parent, const char* name, bool stop) -> Probe& {
    auto& probe = Add<Probe>(*form, parent, name, {0, 0, 10, 10});
    probe.SetTabStop(stop);
    return probe;
  };
  Probe& a = tabStop(*form, "a", true);
  Probe& panel = tabStop(*form, "panel", false);
  panel.SetBounds(20, 0, 60, 40);
  tabStop(panel, "p1", true);
  tabStop(panel, "p2", true).SetEnabled(false);
  tabStop(panel, "p3", true);
  tabStop(*form, "x", false);
  tabStop(*form, "hidden", true).SetVisible(false);
  Probe& d = tabStop(*form, "d", true);
  d.SetTabOrder(1);
  form->Show();
  Pump(30);
  ASSERT_EQ(windows_.Focused(), &a);

  const struct {
    const char* name;
    bool shift;
    std::vector<std::string> expected;
  } kCases[] = {
      {"Tab", false, {"d", "p1", "p3", "a", "d"}},
      {"Shift+Tab", true, {"p3", "p1", "d", "a", "p3"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(a.SetFocus());
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      if (c.shift) {
        SendKeys({VK_SHIFT}, VK_TAB);
      } else {
        SendKeys({}, VK_TAB);
      }
      Pump(30);
      visited.push_back(windows_.Focused() ? windows_.Focused()->Name() : "none");
    }
    EXPECT_EQ(visited, c.expected);
  }
}

// ---- dialog keys and accelerators ----

struct KeyCase {
  const char* name;
  std::vector<WORD> modifiers;
  WORD key;
  // What the focused control takes in KeyDown, and the other control as a
  // dialog key.
  int focusTakes;
  int takerTakes;
  Log expected;
  bool formStaysOpen;
};

TEST_F(InputHostTest, DialogKeysGoRoundTheFormUnlessTheFocusedControlTookThem) {
  const KeyCase kCases[] = {
      {"Enter", {}, VK_RETURN, 0, VK_RETURN,
       {"focus key 13 -", "focus dialog 13 -", "taker dialog 13 -"}, true},
      {"Enter nobody takes goes on as a character", {}, VK_RETURN, 0, 0,
       {"focus key 13 -", "focus dialog 13 -", "taker dialog 13 -", "focus char 13",
        "taker char 13"},
       true},
      {"Escape", {}, VK_ESCAPE, 0, VK_ESCAPE,
       {"focus key 27 -", "focus dialog 27 -", "taker dialog 27 -"}, true},
      {"Shift+Escape", {VK_SHIFT}, VK_ESCAPE, 0, VK_ESCAPE,
       {"focus key 27 S", "focus dialog 27 S", "taker dialog 27 S"}, true},
      {"Space", {}, VK_SPACE, 0, VK_SPACE,
       {"focus key 32 -", "focus dialog 32 -", "taker dialog 32 -"}, true},
      {"Alt+F4 taken", {VK_MENU}, VK_F4, 0, VK_F4,
       {"focus key 115 A", "focus dialog 115 A", "taker dialog 115 A"}, true},
      {"Alt+F4 nobody takes closes the form", {VK_MENU}, VK_F4, 0, 0,
       {"focus key 115 A", "focus dialog 115 A", "taker dialog 115 A", "focus lost"}, false},
      {"F4 without Alt is no dialog key", {}, VK_F4, 0, VK_F4, {"focus key 115 -"}, true},
      {"taken by the focused control first", {}, VK_RETURN, VK_RETURN, VK_RETURN,
       {"focus key 13 -"}, true},
      {"Tab taken as a dialog key does not move", {}, VK_TAB, 0, VK_TAB,
       {"focus key 9 -", "focus dialog 9 -", "taker dialog 9 -"}, true},
      {"a letter", {}, 'X', 0, 0, {"focus key 88 -", "focus char 120", "taker char 120"}, true},
  };
  for (const KeyCase& c : kCases) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm("form");
    auto& focus = Add<Probe>(*form, *form, "focus", {0, 0, 20, 20});
    focus.SetTabStop(true);
    if (c.focusTakes != 0) focus.takeKeys = {c.focusTakes};
    auto& taker = Add<Probe>(*form, *form, "taker", {30, 0, 50, 20});
    if (c.takerTakes != 0) taker.takeDialogKeys = {c.takerTakes};
    form->Show();
    Pump(30);
    ASSERT_EQ(windows_.Focused(), &focus);
    log_.clear();
    std::initializer_list<WORD> none{};
    if (c.modifiers.empty()) {
      SendKeys(none, c.key);
    } else if (c.modifiers[0] == VK_SHIFT) {
      SendKeys({VK_SHIFT}, c.key);
    } else {
      SendKeys({VK_MENU}, c.key);
    }
    Pump(60);
    Log seen;
    for (const std::string& entry : log_) {
      // The modifier keys themselves.
      if (entry.find(" key 16 ") == std::string::npos &&
          entry.find(" key 18 ") == std::string::npos) {
        seen.push_back(entry);
      }
    }
    EXPECT_EQ(seen, c.expected);
    EXPECT_EQ(IsWindowVisible(Window(*form)) != FALSE, c.formStaysOpen);
    EXPECT_EQ(windows_.Focused() == &focus, c.formStaysOpen) << "the focus stays";
  }
}

TEST_F(InputHostTest, CharactersAreOfferedAsAcceleratorsUnlessTheControlTakesThem) {
  const struct {
    const char* name;
    bool alt;
    bool wantsChars;
    Log expected;
  } kCases[] = {
      {"typed", false, false, {"focus key 88 -", "focus char 120", "taker char 120"}},
      {"with Alt", true, false, {"focus key 88 A", "focus char 120", "taker char 120"}},
      {"typed into a text control", false, true, {"focus key 88 -"}},
      {"with Alt into a text control", true, true,
       {"focus key 88 A", "focus char 120", "taker char 120"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm("form");
    auto& focus = Add<Probe>(*form, *form, "focus", {0, 0, 20, 20});
    focus.SetTabStop(true);
    focus.wantsChars = c.wantsChars;
    auto& taker = Add<Probe>(*form, *form, "taker", {30, 0, 50, 20});
    taker.accelerator = U'x';
    form->Show();
    Pump(30);
    ASSERT_EQ(windows_.Focused(), &focus);
    log_.clear();
    if (c.alt) {
      SendKeys({VK_MENU}, 'X');
    } else {
      SendKeys({}, 'X');
    }
    Pump(60);
    EXPECT_EQ(Without(" key 18 "), c.expected);
  }

  // A character outside the BMP arrives in two halves and is offered whole.
  auto form = MakeForm("form");
  auto& focus = Add<Probe>(*form, *form, "focus", {0, 0, 20, 20});
  focus.SetTabStop(true);
  auto& taker = Add<Probe>(*form, *form, "taker", {30, 0, 50, 20});
  taker.accelerator = U'\U0001F600';
  form->Show();
  Pump(30);
  log_.clear();
  PostMessageW(Window(focus), WM_CHAR, 0xD83D, 1);
  PostMessageW(Window(focus), WM_CHAR, 0xDE00, 1);
  Pump(30);
  EXPECT_EQ(log_, (Log{"focus char 128512", "taker char 128512"}));
}

}  // namespace
}  // namespace ui::win32::testing
