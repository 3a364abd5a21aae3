// The flat button in a real window, driven by real input (SetCursorPos and
// SendInput): hover and its capture, press, drag off and back, release with
// and without a modal result, the click resting the form's other flat
// buttons, Enter on a default button until it has had and lost the focus,
// Escape on a cancel button but not with Shift, Space on key down, the
// accelerator letter, and the painter on screen.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "controls/offbtn/office97_button.h"
#include "controls/offbtn/win32/offbtn_paint.h"
#include "ui/win32/tests/host_fixture.h"
#include "ui/win32/testing/pixel_surface.h"

namespace controls {
namespace {

using S = TOffBtnState;
using ui::Point;
using ui::win32::testing::HostTest;
using ui::win32::testing::Probe;
using ui::win32::testing::ProbeForm;
using ui::win32::testing::SendButton;
using ui::win32::testing::SendKeys;

class HostedButtonTest : public HostTest {
 protected:
  HostedButtonTest() { RegisterOffice97ButtonPainter(windows_); }

  TOffice97Button& AddButton(ui::Form& form, const std::string& name, ui::Rect bounds) {
    auto& button = form.Adopt(std::make_unique<TOffice97Button>());
    button.SetName(name);
    button.SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    button.SetParent(&form);
    button.OnClick.handler = [this](ui::Component& sender) { clicks_.push_back(sender.Name()); };
    return button;
  }

  // A form with two flat buttons and a focusable probe first in the tab
  // order (so the buttons start without the focus, which would make them
  // active), and the pointer at rest in its empty corner.
  void Build() {
    form_ = MakeForm("form", 300, 150);
    check_ = &AddButton(*form_, "check", {10, 10, 120, 60});
    exit_ = &AddButton(*form_, "exit", {130, 10, 240, 60});
    probe_ = &Add<Probe>(*form_, *form_, "probe", {10, 100, 60, 130});
    probe_->SetTabStop(true);
    probe_->SetTabOrder(0);
    check_->SetCaption("&Check Me Now!");
    check_->SetDefault(true);
    exit_->SetCaption("Exit");
    exit_->SetCancel(true);
    form_->Show();
    Rest();
  }

  void Rest() { MoveMouse(Screen(*form_, {290, 140})); }
  void Over(const ui::Control& control) { MoveMouse(Screen(control, {20, 20})); }
  void Press() {
    SendButton(MOUSEEVENTF_LEFTDOWN);
    Pump(30);
  }
  void Release() {
    SendButton(MOUSEEVENTF_LEFTUP);
    Pump(30);
  }
  void Key(std::initializer_list<WORD> modifiers, WORD key) {
    SendKeys(modifiers, key);
    Pump(50);
  }
  bool Captures(const ui::Control& control) { return GetCapture() == Window(control); }

  std::unique_ptr<ProbeForm> form_;
  TOffice97Button* check_ = nullptr;
  TOffice97Button* exit_ = nullptr;
  Probe* probe_ = nullptr;
  std::vector<std::string> clicks_;
};

TEST_F(HostedButtonTest, HoverTakesTheCaptureAndLeavingGivesItBack) {
  Build();
  Over(*check_);
  EXPECT_EQ(check_->State(), S::bsActive);
  EXPECT_TRUE(Captures(*check_));
  Rest();
  EXPECT_EQ(check_->State(), S::bsInactive);
  EXPECT_EQ(GetCapture(), nullptr);
  // Straight from one button to the other: the first lets go, the second takes it.
  Over(*check_);
  Over(*exit_);
  EXPECT_EQ(check_->State(), S::bsInactive);
  EXPECT_EQ(exit_->State(), S::bsActive);
  EXPECT_TRUE(Captures(*exit_));
}

TEST_F(HostedButtonTest, PressDragOffAndBackReleaseClicksOnce) {
  Build();
  Over(*exit_);
  Press();
  EXPECT_EQ(exit_->State(), S::bsDown);
  Rest();
  EXPECT_EQ(exit_->State(), S::bsDownAndOut);
  Over(*exit_);
  EXPECT_EQ(exit_->State(), S::bsDown);
  Release();
  EXPECT_EQ(clicks_, std::vector<std::string>{"exit"});
  EXPECT_EQ(exit_->State(), S::bsActive);
  EXPECT_TRUE(Captures(*exit_)) << "hovered again";

  clicks_.clear();
  Press();
  Rest();
  Release();
  EXPECT_TRUE(clicks_.empty()) << "released off the button";
  EXPECT_EQ(exit_->State(), S::bsInactive);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HostedButtonTest, AModalResultClosesTheFormAndLeavesTheButtonAtRest) {
  Build();
  auto dialog = MakeForm("dialog", 200, 100);
  auto& ok = AddButton(*dialog, "ok", {20, 20, 120, 70});
  ok.SetModalResult(2);
  // The user, from outside the modal loop: over the button, click.
  std::atomic<bool> done{false};
  std::thread user([&] {
    Sleep(300);
    const Point at = Screen(ok, {30, 25});
    SetCursorPos(at.x, at.y);
    Sleep(100);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    Sleep(50);
    SendButton(MOUSEEVENTF_LEFTUP);
    done = true;
  });
  const int result = dialog->ShowModal();
  user.join();
  EXPECT_EQ(result, 2);
  EXPECT_EQ(clicks_, std::vector<std::string>{"ok"});
  EXPECT_EQ(ok.State(), S::bsInactive);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HostedButtonTest, AClickRestsTheOtherFlatButtons) {
  Build();
  Over(*check_);
  ASSERT_EQ(check_->State(), S::bsActive);
  Key({}, VK_ESCAPE);  // clicks the cancel button, with the pointer still on "check"
  EXPECT_EQ(clicks_, std::vector<std::string>{"exit"});
  EXPECT_EQ(check_->State(), S::bsInactive);
}

TEST_F(HostedButtonTest, EnterEscapeSpaceAndTheAccelerator) {
  Build();
  ASSERT_TRUE(probe_->Focused());
  // The default button answers Enter while it has not had the focus.
  Key({}, VK_RETURN);
  EXPECT_EQ(clicks_, std::vector<std::string>{"check"});
  Key({VK_SHIFT}, VK_ESCAPE);
  EXPECT_EQ(clicks_.size(), 1u) << "Shift+Escape is no cancel";
  Key({}, VK_ESCAPE);
  EXPECT_EQ(clicks_.back(), "exit");
  Key({VK_MENU}, 'C');
  EXPECT_EQ(clicks_.back(), "check") << "Alt and the accelerator letter";

  // Once it has had the focus and lost it, Enter is no longer its.
  clicks_.clear();
  check_->SetFocus();
  Pump(30);
  probe_->SetFocus();
  Pump(30);
  Key({}, VK_RETURN);
  EXPECT_TRUE(clicks_.empty());

  // Space clicks the focused button on the key going down.
  exit_->SetFocus();
  Pump(30);
  INPUT down{};
  down.type = INPUT_KEYBOARD;
  down.ki.wVk = VK_SPACE;
  SendInput(1, &down, sizeof down);
  Pump(50);
  EXPECT_EQ(clicks_, std::vector<std::string>{"exit"});
  INPUT up = down;
  up.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &up, sizeof up);
  Pump(50);
  EXPECT_EQ(clicks_.size(), 1u) << "nothing more on the way up";
}

TEST_F(HostedButtonTest, ThePainterDrawsTheButtonOnScreen) {
  Build();
  RedrawWindow(Window(*exit_), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // The Office 2000 inactive outline runs through (3,1) in InactiveColor;
  // inside it lies the face colour.
  HDC dc = GetDC(Window(*exit_));
  const COLORREF outline = GetPixel(dc, 3, 1);
  const COLORREF face = GetPixel(dc, 20, 5);
  ReleaseDC(Window(*exit_), dc);
  EXPECT_EQ(outline, RGB(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(face, RGB(0xFF, 0xFF, 0xCC)) << "0x00CCFFFF";
}

}  // namespace
}  // namespace controls
