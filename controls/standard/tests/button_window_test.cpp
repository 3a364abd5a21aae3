// The push button in the system's button window, driven by real input: the
// mouse, Space on the focused button and Enter for the default one each
// click it once, giving OnClick and the form its modal result.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/standard/button.h"
#include "ui/win32/tests/host_fixture.h"

namespace controls {
namespace {

using ui::win32::testing::HostTest;
using ui::win32::testing::SendButton;
using ui::win32::testing::SendKeys;

class ButtonWindowTest : public HostTest {
 protected:
  TButton& AddButton(ui::Form& form, const std::string& name, const std::string& caption,
                     ui::Rect bounds) {
    auto& button = form.Adopt(std::make_unique<TButton>());
    button.SetName(name);
    button.SetCaption(caption);
    button.SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    button.SetParent(&form);
    button.OnClick.handler = [this](ui::Component& sender) { clicks_.push_back(sender.Name()); };
    return button;
  }

  std::vector<std::string> clicks_;
};

TEST_F(ButtonWindowTest, EachWayOfPressingClicksOnceAndEndsTheModalShowing) {
  const struct {
    const char* name;
    std::function<void(TButton& ok)> press;
  } kCases[] = {
      {"the mouse",
       [this](TButton& ok) {
         const ui::Point at = Screen(ok, {20, 10});
         SetCursorPos(at.x, at.y);
         SendButton(MOUSEEVENTF_LEFTDOWN);
         SendButton(MOUSEEVENTF_LEFTUP);
       }},
      {"Space on the focused button",
       [](TButton& ok) {
         ok.SetFocus();
         SendKeys({}, VK_SPACE);
       }},
      {"Enter for the default button", [](TButton&) { SendKeys({}, VK_RETURN); }},
  };
  auto owner = MakeForm("owner");
  owner->Show();
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    clicks_.clear();
    auto dialog = MakeForm("dialog", 200, 80);
    TButton& ok = AddButton(*dialog, "ok", "OK", {20, 40, 95, 65});
    ok.SetDefault(true);
    ok.SetModalResult(ui::mrOk);
    AddButton(*dialog, "cancel", "Cancel", {105, 40, 180, 65}).SetCancel(true);
    // Neither button has the focus unless a case gives it.
    auto& start = Add<ui::win32::testing::Probe>(*dialog, *dialog, "start", {0, 0, 10, 10});
    start.SetTabStop(true);
    start.SetTabOrder(0);
    dialog->OnShow.handler = [&](ui::Component&) { c.press(ok); };
    EXPECT_EQ(dialog->ShowModal(), ui::mrOk);
    Pump(50);  // a second click would come with the release
    EXPECT_EQ(clicks_, (std::vector<std::string>{"ok"}));
  }
}

TEST_F(ButtonWindowTest, TheWindowIsTheSystemsButtonShowingCaptionAndDefault) {
  auto form = MakeForm("form");
  TButton& ok = AddButton(*form, "ok", "OK", {20, 40, 95, 65});
  form->Show();
  HWND window = Window(ok);
  ASSERT_NE(window, nullptr);
  wchar_t text[32] = {};
  GetClassNameW(window, text, 32);
  EXPECT_EQ(lstrcmpiW(text, L"Button"), 0);
  GetWindowTextW(window, text, 32);
  EXPECT_STREQ(text, L"OK");
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  ok.SetDefault(true);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

}  // namespace
}  // namespace controls
