#pragma once
// Real windows for the host's tests: controls that record what the window
// system hands them, a fixture holding an application, its window system and
// forms, and real input (SendInput with SetCursorPos, as a user gives it).

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ui/control.h"
#include "ui/form.h"
#include "ui/win32/application.h"
#include "ui/win32/testing/gui_objects.h"
#include "ui/win32/win32_window_system.h"
#include "ui/win_control.h"

namespace ui::win32::testing {

using Log = std::vector<std::string>;

inline std::string Text(Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

inline std::string Text(ShiftState shift) {
  std::string text;
  if (shift.shift) text += "S";
  if (shift.control) text += "C";
  if (shift.alt) text += "A";
  return text.empty() ? "-" : text;
}

inline std::string Text(TMouseButton button) {
  return button == TMouseButton::mbLeft ? "L" : button == TMouseButton::mbRight ? "R" : "M";
}

// What every recording control shares: a name in a log, and the input it
// records or takes.
template <class Base>
class Recording : public Base {
 public:
  using Base::Base;
  Log* log = nullptr;
  bool recordMoves = false;
  bool recordFocusChanges = false;
  std::set<int> takeDialogKeys;
  char32_t accelerator = 0;
  std::function<void()> onDialogKey;

  void Record(const std::string& what) {
    if (log != nullptr) log->push_back(this->Name() + " " + what);
  }
  void MouseDown(TMouseButton button, ShiftState shift, Point at) override {
    Record("down " + Text(button) + " " + Text(at));
    Base::MouseDown(button, shift, at);
  }
  void MouseMove(ShiftState shift, Point at) override {
    if (recordMoves) Record("move " + Text(at));
    Base::MouseMove(shift, at);
  }
  void MouseUp(TMouseButton button, ShiftState shift, Point at) override {
    Record("up " + Text(button) + " " + Text(at));
    Base::MouseUp(button, shift, at);
  }
  bool DialogKey(int key, ShiftState shift) override {
    Record("dialog " + std::to_string(key) + " " + Text(shift));
    if (!takeDialogKeys.count(key)) return false;
    if (onDialogKey) onDialogKey();
    return true;
  }
  bool DialogChar(char32_t character) override {
    Record("char " + std::to_string(static_cast<unsigned>(character)));
    return accelerator != 0 && character == accelerator;
  }
  void FocusChanged() override {
    if (!recordFocusChanges) return;
    const WinControl* focused = this->Windows() ? this->Windows()->Focused() : nullptr;
    Record("heard focus on " + (focused ? focused->Name() : std::string("none")));
  }
};

// A windowed control.
class Probe : public Recording<WinControl> {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info("TProbe", &WinControl::StaticClass(), {});
    return info;
  }
  const ClassInfo& Class() const override { return StaticClass(); }

  std::set<int> takeKeys;
  bool wantsChars = false;
  std::function<void(int key)> onKeyDown;

  void FocusGained() override {
    Record("gained");
    WinControl::FocusGained();
  }
  void FocusLost() override {
    Record("lost");
    WinControl::FocusLost();
  }
  bool KeyDown(int key, ShiftState shift) override {
    Record("key " + std::to_string(key) + " " + Text(shift));
    if (onKeyDown) onKeyDown(key);
    return takeKeys.count(key) != 0;
  }
  bool WantsChars() const override { return wantsChars; }
};

// A lightweight control.
class LightProbe : public Recording<Control> {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info("TLightProbe", &Control::StaticClass(), {});
    return info;
  }
  const ClassInfo& Class() const override { return StaticClass(); }
};

// A form: the mouse over its own area.
class ProbeForm : public Recording<Form> {
 public:
  using Recording::Recording;
};

// Input as the user gives it, through the system's input queue.
inline void SendKeys(std::initializer_list<WORD> modifiers, WORD key) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  };
  for (WORD m : modifiers) add(m, false);
  add(key, false);
  add(key, true);
  for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) add(*m, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline void SendButton(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof(INPUT));
}

// Answers the first message box with `caption` that appears (from another
// thread, as the user would), remembering its text and buttons.
class BoxWatcher {
 public:
  explicit BoxWatcher(std::wstring caption)
      : caption_(std::move(caption)), thread_([this] { Watch(); }) {}
  ~BoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  bool answered() const { return answered_; }
  // The box is gone before the watcher sees it go: waits for that.
  bool WaitAnswered() const {
    for (int i = 0; i < 200 && !answered_; ++i) Sleep(10);
    return answered_;
  }
  // Valid once answered.
  const std::wstring& text() const { return text_; }
  bool onlyOk() const { return onlyOk_; }
  HWND owner() const { return owner_; }

 private:
  static BOOL CALLBACK CollectText(HWND child, LPARAM self) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0) {
      wchar_t text[512] = {};
      GetWindowTextW(child, text, 512);
      if (text[0] != 0) reinterpret_cast<BoxWatcher*>(self)->text_ = text;
    }
    return TRUE;
  }

  void Watch() {
    for (int i = 0; i < 1000 && !stop_; ++i) {
      HWND box = FindWindowW(L"#32770", caption_.c_str());
      if (box == nullptr) {
        Sleep(10);
        continue;
      }
      EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(this));
      onlyOk_ = GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) == nullptr &&
                GetDlgItem(box, IDYES) == nullptr;
      owner_ = GetWindow(box, GW_OWNER);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
      while (!stop_ && IsWindow(box)) Sleep(10);
      answered_ = true;
      return;
    }
  }

  std::wstring caption_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> answered_{false};
  std::wstring text_;
  bool onlyOk_ = false;
  HWND owner_ = nullptr;
  std::thread thread_;
};

inline BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// The windows of this thread, hidden ones included.
inline int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

class HostTest : public ::testing::Test {
 protected:
  HostTest() { application_.SetTitle("Host Test"); }

  std::unique_ptr<ProbeForm> MakeForm(const std::string& name, int clientWidth = 200,
                                      int clientHeight = 150) {
    auto form = std::make_unique<ProbeForm>(windows_);
    form->SetName(name);
    form->log = &log_;
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->SetLeft(100);
    form->SetTop(100);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->SetColor(0x00FFFFFF);
    return form;
  }

  template <class T>
  T& Add(Form& owner, WinControl& parent, const std::string& name, Rect bounds) {
    T& control = owner.Adopt(std::make_unique<T>());
    control.SetName(name);
    control.log = &log_;
    control.SetBounds(bounds.left, bounds.top, bounds.right - bounds.left,
                      bounds.bottom - bounds.top);
    control.SetParent(&parent);
    return control;
  }

  HWND Window(const Control& control) const { return windows_.WindowOf(control); }

  // Handles messages for `milliseconds`, or until `done`.
  bool Pump(int milliseconds, const std::function<bool()>& done = nullptr) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    for (;;) {
      windows_.ProcessMessages();
      if (done && done()) return true;
      if (static_cast<int>(GetTickCount() - end) >= 0) return false;
      Sleep(5);
    }
  }

  // The screen point of a control's client point.
  Point Screen(const Control& control, Point at) { return windows_.ClientToScreen(control, at); }

  void MoveMouse(Point screen) {
    SetCursorPos(screen.x, screen.y);
    Pump(30);
  }

  // Runs `cycle` once (what stays for the process is made then), then
  // `rounds` times more, and expects the GDI handles and the thread's
  // windows where they were after the first.
  void ExpectCyclesLeaveNothing(const std::function<void()>& cycle, int rounds) {
    cycle();
    Pump(20);
    const GuiObjects before = CountGuiObjects();
    const int windowsBefore = ThreadWindows();
    for (int i = 0; i < rounds; ++i) {
      cycle();
      if (i % 50 == 0) Pump(1);
    }
    Pump(20);
    const GuiObjects after = CountGuiObjects();
    EXPECT_EQ(after.gdiHandleTable, before.gdiHandleTable);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(ThreadWindows(), windowsBefore);
  }

  Log Without(const std::string& word) const {
    Log kept;
    for (const std::string& entry : log_) {
      if (entry.find(word) == std::string::npos) kept.push_back(entry);
    }
    return kept;
  }

  Application application_;
  Win32WindowSystem windows_{application_};
  Log log_;
};

}  // namespace ui::win32::testing
