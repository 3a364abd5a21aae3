// The loops: modal showing with the other forms disabled and a result set
// by a control, a form shown over another as the screen shows it, timers
// delivered by the loop, the application's run to its end, and an exception
// from a handler shown while the loop goes on.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "ui/win32/testing/pixel_surface.h"
#include "ui/win32/tests/host_fixture.h"

namespace ui::win32::testing {
namespace {

class LoopHostTest : public HostTest {};

void ClickOn(Control& control) {
  const Point at =
      control.Windows()->ClientToScreen(control, {control.Width() / 2, control.Height() / 2});
  SetCursorPos(at.x, at.y);
  SendButton(MOUSEEVENTF_LEFTDOWN);
  SendButton(MOUSEEVENTF_LEFTUP);
}

// ---- modal forms ----

TEST_F(LoopHostTest, ModalFormReturnsTheResultAControlSetWithTheOtherFormsDisabled) {
  auto owner = MakeForm("owner");
  owner->Show();
  auto bystander = MakeForm("bystander");
  bystander->SetLeft(400);
  bystander->Show();
  auto hidden = MakeForm("hidden");
  hidden->Show();
  hidden->Close();
  owner->Show();  // the active one
  Pump(30);
  HWND ownerWindow = Window(*owner);

  auto dialog = MakeForm("dialog", 120, 60);
  auto& ok = Add<Probe>(*dialog, *dialog, "ok", {10, 10, 80, 40});
  bool ownerEnabled = true, bystanderEnabled = true, modal = false;
  dialog->OnShow.handler = [&](Component&) {
    // A caption change must not give a disabled form its input back.
    owner->SetCaption("changed meanwhile");
    ClickOn(ok);
  };
  ok.OnClick.handler = [&](Component&) {
    ownerEnabled = IsWindowEnabled(ownerWindow) != FALSE;
    bystanderEnabled = IsWindowEnabled(Window(*bystander)) != FALSE;
    modal = dialog->Modal();
    dialog->SetModalResult(7);
  };
  EXPECT_EQ(dialog->ShowModal(), 7);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_FALSE(bystanderEnabled);
  EXPECT_TRUE(modal);
  EXPECT_FALSE(dialog->Modal());
  EXPECT_EQ(GetWindow(Window(*dialog), GW_OWNER), ownerWindow);
  EXPECT_FALSE(IsWindowVisible(Window(*dialog)));
  EXPECT_TRUE(IsWindowEnabled(ownerWindow));
  EXPECT_TRUE(IsWindowEnabled(Window(*bystander)));
  EXPECT_TRUE(IsWindowEnabled(Window(*hidden)));
  EXPECT_EQ(GetActiveWindow(), ownerWindow);

  // Shown again, it starts without a result.
  dialog->OnShow.handler = [&](Component&) { ClickOn(ok); };
  ok.OnClick.handler = [&](Component&) { dialog->SetModalResult(mrOk); };
  EXPECT_EQ(dialog->ShowModal(), mrOk);
}

TEST_F(LoopHostTest, EveryOtherWayOfClosingAModalFormCancels) {
  const struct {
    const char* name;
    std::function<void(Form& dialog, Probe& cancel)> act;
  } kCases[] = {
      {"Escape to a cancelling control",
       [](Form& dialog, Probe& cancel) {
         cancel.takeDialogKeys = {VK_ESCAPE};
         cancel.onDialogKey = [&dialog] { dialog.Close(); };
         SendKeys({}, VK_ESCAPE);
       }},
      {"the close box",
       [this](Form& dialog, Probe&) { PostMessageW(Window(dialog), WM_CLOSE, 0, 0); }},
      {"Alt+F4 nobody takes", [](Form&, Probe&) { SendKeys({VK_MENU}, VK_F4); }},
  };
  auto owner = MakeForm("owner");
  owner->Show();
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    auto dialog = MakeForm("dialog", 120, 60);
    auto& cancel = Add<Probe>(*dialog, *dialog, "cancel", {10, 10, 80, 40});
    dialog->OnShow.handler = [&](Component&) { c.act(*dialog, cancel); };
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_FALSE(IsWindowVisible(Window(*dialog)));
    EXPECT_TRUE(IsWindowEnabled(Window(*owner)));
  }
}

// What the screen shows from `left`, `top` on, as a user sees it: the
// screen's own pixels, not a window's. (`xwd -root` is no witness here: Wine
// gives its windows a colormap of their own, and xwd then leaves a top-level
// window lying wholly inside another one black, while the screen shows it.)
void GrabScreen(int left, int top, PixelSurface& surface) {
  HDC screen = GetDC(nullptr);
  BitBlt(surface.Handle(), 0, 0, surface.Width(), surface.Height(), screen, left, top, SRCCOPY);
  ReleaseDC(nullptr, screen);
}

TEST_F(LoopHostTest, AFormShownOverAnotherFullyInsideItIsWhatTheScreenShowsThere) {
  // A message and its owner as the program shows them: both centred on the
  // screen, the message well inside the owner.
  const struct {
    const char* name;
    bool modal;
    bool fromClick;
  } kCases[] = {
      {"modal, from a timer", true, false},
      {"modal, from a click", true, true},
      {"modeless, from a timer", false, false},
  };
  constexpr Colour kOwnerColour = 0x00FFFFFF;
  constexpr Colour kInnerColour = 0x0000A000;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    auto owner = MakeForm("owner", 530, 366);
    owner->SetPosition(TPosition::poScreenCenter);
    owner->SetColor(kOwnerColour);
    auto& button = Add<Probe>(*owner, *owner, "button", {10, 10, 80, 40});
    owner->Show();
    Pump(30);
    auto inner = MakeForm("inner", 492, 107);
    inner->SetBorderStyle(TFormBorderStyle::bsDialog);
    inner->SetPosition(TPosition::poScreenCenter);
    inner->SetColor(kInnerColour);

    PixelSurface seen(492, 107, 0x00123456);
    Colour ownerBeside = 0x00123456;
    bool checked = false;
    RECT ownerClient{};
    RECT innerOuter{};
    inner->OnShow.handler = [&](Component&) {
      // Looks from the form's own loop until the screen shows it (painting
      // and putting on the screen come later), for a second at most.
      auto id = std::make_shared<int>(0);
      auto tries = std::make_shared<int>(0);
      *id = windows_.StartTimer(20, [&, id, tries] {
        HWND innerWindow = Window(*inner);
        POINT origin{0, 0};
        ClientToScreen(innerWindow, &origin);
        GrabScreen(origin.x, origin.y, seen);
        if (Mismatches(seen, [&](int, int) { return kInnerColour; }).empty() || ++*tries == 50) {
          windows_.StopTimer(*id);
          GetWindowRect(innerWindow, &innerOuter);
          HWND ownerWindow = Window(*owner);
          GetClientRect(ownerWindow, &ownerClient);
          MapWindowPoints(ownerWindow, nullptr, reinterpret_cast<POINT*>(&ownerClient), 2);
          // The owner's own area just left of the form.
          PixelSurface beside(1, 1);
          GrabScreen(innerOuter.left - 4, (innerOuter.top + innerOuter.bottom) / 2, beside);
          ownerBeside = beside.At(0, 0);
          checked = true;
          inner->Close();
        }
      });
    };
    auto show = [&] {
      if (c.modal) {
        inner->ShowModal();
      } else {
        inner->Show();
      }
    };
    if (c.fromClick) {
      button.OnClick.handler = [&](Component&) { show(); };
      ClickOn(button);
    } else {
      auto id = std::make_shared<int>(0);
      *id = windows_.StartTimer(10, [&, id] {
        windows_.StopTimer(*id);
        show();
      });
    }
    ASSERT_TRUE(Pump(3000, [&] { return checked; }));
    EXPECT_TRUE(innerOuter.left > ownerClient.left + 4 && innerOuter.right < ownerClient.right &&
                innerOuter.top > ownerClient.top && innerOuter.bottom < ownerClient.bottom)
        << "the form lies inside its owner";
    EXPECT_EQ(Mismatches(seen, [&](int, int) { return kInnerColour; }), "");
    EXPECT_EQ(ownerBeside, kOwnerColour);
  }
}

// ---- timers ----

TEST_F(LoopHostTest, TimersFireFromTheLoopUntilStoppedEvenFromTheirOwnCallback) {
  int ticks = 0;
  int id = 0;
  id = windows_.StartTimer(15, [&] {
    if (++ticks == 3) windows_.StopTimer(id);
  });
  int otherTicks = 0;
  const int other = windows_.StartTimer(15, [&] { ++otherTicks; });
  EXPECT_NE(id, 0);
  EXPECT_NE(other, id);
  Sleep(80);
  EXPECT_EQ(ticks, 0) << "only a loop delivers them";
  EXPECT_TRUE(Pump(2000, [&] { return ticks == 3; }));
  windows_.StopTimer(other);
  const int otherSoFar = otherTicks;
  Pump(150);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(otherTicks, otherSoFar);
  EXPECT_GE(otherSoFar, 3);
}

TEST_F(LoopHostTest, ATimerClosesAModalFormFromItsLoop) {
  auto dialog = MakeForm("dialog");
  int ticks = 0;
  DWORD shownAt = 0;
  dialog->OnShow.handler = [&](Component&) {
    shownAt = GetTickCount();
    // The callback learns its timer's id once StartTimer has returned.
    auto id = std::make_shared<int>(0);
    *id = windows_.StartTimer(120, [&, id] {
      ++ticks;
      windows_.StopTimer(*id);
      dialog->Close();
    });
  };
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_GE(GetTickCount() - shownAt, 100u);
  Pump(300);
  EXPECT_EQ(ticks, 1);
}

// ---- the application ----

TEST_F(LoopHostTest, RunEndsWhenTheMainFormCloses) {
  auto main = MakeForm("main");
  application_.SetMainForm(main.get());
  bool shown = false;
  main->OnShow.handler = [&](Component&) {
    shown = true;
    PostMessageW(Window(*main), WM_CLOSE, 0, 0);
  };
  application_.Run();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(application_.Terminated());
  EXPECT_FALSE(IsWindowVisible(Window(*main)));
}

TEST_F(LoopHostTest, EndingTheProgramInsideAModalLoopEndsEveryLoop) {
  const struct {
    const char* name;
    std::function<void(Application&)> end;
  } kCases[] = {
      {"Terminate", [](Application& app) { app.Terminate(); }},
      // From foreign code: the modal loop takes it and posts it again.
      {"a WM_QUIT", [](Application&) { PostQuitMessage(3); }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Application application;
    Win32WindowSystem windows(application);
    auto main = std::make_unique<Form>(windows);
    auto dialog = std::make_unique<Form>(windows);
    application.SetMainForm(main.get());
    int result = -1;
    main->OnShow.handler = [&](Component&) {
      auto id = std::make_shared<int>(0);
      *id = windows.StartTimer(10, [&, id] {
        windows.StopTimer(*id);
        result = dialog->ShowModal();
      });
    };
    dialog->OnShow.handler = [&](Component&) { c.end(application); };
    application.Run();
    EXPECT_EQ(result, mrCancel);
    EXPECT_TRUE(application.Terminated());
    // Left for any loop outside, as a message box's, that knows no flag.
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  }
}

TEST_F(LoopHostTest, AnExceptionFromAHandlerIsShownAndTheLoopGoesOn) {
  const struct {
    const char* name;
    std::function<void(Win32WindowSystem&, Probe& focus)> provoke;
  } kCases[] = {
      {"from a timer",
       [](Win32WindowSystem& windows, Probe&) {
         auto id = std::make_shared<int>(0);
         *id = windows.StartTimer(10, [&windows, id] {
           windows.StopTimer(*id);
           throw std::runtime_error("disk on fire");
         });
       }},
      {"from a key",
       [](Win32WindowSystem&, Probe& focus) {
         focus.onKeyDown = [](int key) {
           if (key == 'K') throw std::runtime_error("disk on fire");
         };
         SendKeys({}, 'K');
       }},
      {"from the mouse",
       [](Win32WindowSystem&, Probe& focus) {
         focus.OnMouseDown.handler = [](Component&, TMouseButton, ShiftState, int, int) {
           throw std::runtime_error("disk on fire");
         };
         ClickOn(focus);
       }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Application application;
    application.SetTitle("Exception Test");
    Win32WindowSystem windows(application);
    ProbeForm main(windows);
    main.SetBounds(100, 100, 200, 150);
    auto& focus = main.Adopt(std::make_unique<Probe>());
    focus.SetBounds(10, 10, 60, 30);
    focus.SetTabStop(true);
    focus.SetParent(&main);
    application.SetMainForm(&main);
    BoxWatcher watcher(L"Exception Test");
    int ticksAfter = 0;
    main.OnShow.handler = [&](Component&) {
      c.provoke(windows, focus);
      // Goes on after the box: a few more turns of the loop, then the end.
      windows.StartTimer(20, [&] {
        if (watcher.answered() && ++ticksAfter == 3) application.Terminate();
      });
    };
    application.Run();
    EXPECT_TRUE(watcher.answered());
    EXPECT_EQ(watcher.text(), L"disk on fire");
    EXPECT_TRUE(watcher.onlyOk());
    EXPECT_EQ(watcher.owner(), windows.WindowOf(main));
    EXPECT_EQ(ticksAfter, 3);
  }
}

TEST_F(LoopHostTest, InformationBoxCarriesTheTitleAndOnlyOk) {
  auto form = MakeForm("form");
  form->Show();
  Pump(30);
  BoxWatcher watcher(L"Host Test");
  windows_.ShowInformation("Version 1.0 \xE2\x9C\x93");
  EXPECT_TRUE(watcher.WaitAnswered());
  EXPECT_EQ(watcher.text(), L"Version 1.0 \u2713");
  EXPECT_TRUE(watcher.onlyOk());
  EXPECT_EQ(watcher.owner(), Window(*form));
}

}  // namespace
}  // namespace ui::win32::testing
