// Controls in windows of system classes: made, kept in step and destroyed
// with their control, fonts given and freed, what the window tells its
// parent reflected to its kind, the focus announced, the pre-translated
// keys still reaching them, and the push button clicked by the mouse.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/class_info.h"
#include "ui/publish.h"
#include "ui/win32/testing/gui_objects.h"
#include "ui/win32/tests/host_fixture.h"

namespace ui::win32::testing {
namespace {

// A windowed probe in a native window of the kind it is given, with the
// caption and default flag a push button reads.
class NativeProbe : public Probe {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info(
        "TNativeProbe", &Probe::StaticClass(),
        Publish<NativeProbe>()
            .Text("Caption", &NativeProbe::Caption, &NativeProbe::SetCaption, std::string())
            .Boolean("Default", &NativeProbe::Default, &NativeProbe::SetDefault, false)
            .Done());
    return info;
  }
  const ClassInfo& Class() const override { return StaticClass(); }

  std::string kind{kPushButtonWindow};
  std::string_view NativeWindowKind() const override { return kind; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) {
    caption_ = caption;
    Changed();
  }
  bool Default() const { return default_; }
  void SetDefault(bool on) {
    default_ = on;
    Changed();
  }
  void Click() override {
    Record("click");
    Probe::Click();
  }

 private:
  std::string caption_;
  bool default_ = false;
};

// A static text window that records what the host hands its kind.
class RecordingKind : public Win32WindowSystem::NativeKind {
 public:
  explicit RecordingKind(Log& log) : log_(log) {}
  const wchar_t* ClassName() const override { return L"STATIC"; }
  DWORD Style(const WinControl&) const override { return SS_NOTIFY; }
  void Created(WinControl& control, HWND window) override {
    log_.push_back("created " + control.Name() + (IsWindow(window) ? "" : " without window"));
  }
  void Updated(WinControl& control, HWND) override { log_.push_back("updated " + control.Name()); }
  void Destroyed(HWND) override { log_.push_back("destroyed"); }
  std::optional<LRESULT> Command(WinControl& control, HWND, WORD code) override {
    log_.push_back("command " + std::to_string(code) + " " + control.Name());
    return std::nullopt;
  }
  std::optional<LRESULT> Notify(WinControl& control, HWND, NMHDR& header) override {
    log_.push_back("notify " + std::to_string(header.code) + " " + control.Name());
    return 77;
  }
  LRESULT Message(WinControl& control, HWND, UINT message, WPARAM wParam, LPARAM lParam,
                  const std::function<LRESULT()>& system) override {
    if (message != kAsk) return system();
    log_.push_back("asked " + control.Name() + " " + std::to_string(wParam + lParam));
    return 42;
  }
  static constexpr UINT kAsk = WM_APP + 3;

 private:
  Log& log_;
};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return CharUpperW(name);
}

std::wstring TextOf(HWND window) {
  wchar_t text[128] = {};
  GetWindowTextW(window, text, 128);
  return text;
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW log{};
  auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (font != nullptr) GetObjectW(font, sizeof(log), &log);
  return log;
}

Rect InParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

class NativeHostTest : public HostTest {
 protected:
  NativeProbe& AddNative(Form& form, WinControl& parent, const std::string& name, Rect bounds) {
    return Add<NativeProbe>(form, parent, name, bounds);
  }
};

TEST_F(NativeHostTest, APushButtonWindowFollowsItsControlAndGoesWithIt) {
  auto form = MakeForm("form");
  auto& panel = Add<Probe>(*form, *form, "panel", {0, 0, 200, 150});
  auto& ok = AddNative(*form, panel, "ok", {10, 20, 85, 45});
  ok.SetCaption("&OK");
  ok.GetFont()->SetName("Tahoma");
  ok.GetFont()->SetSize(10);
  form->Show();
  HWND window = Window(ok);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ClassOf(window), L"BUTTON");
  EXPECT_EQ(GetParent(window), Window(panel));
  EXPECT_EQ(windows_.ControlOf(window), &ok);
  const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  EXPECT_EQ(style & BS_TYPEMASK, DWORD{BS_PUSHBUTTON});
  EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), DWORD{WS_CHILD | WS_VISIBLE});
  EXPECT_EQ(TextOf(window), L"&OK");
  EXPECT_EQ(InParent(window), (Rect{10, 20, 85, 45}));
  EXPECT_STREQ(FontOf(window).lfFaceName, L"Tahoma");

  const struct {
    const char* name;
    std::function<void()> change;
    std::function<bool()> shown;
  } kChanges[] = {
      {"caption", [&] { ok.SetCaption("Go"); }, [&] { return TextOf(window) == L"Go"; }},
      {"default", [&] { ok.SetDefault(true); },
       [&] { return (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }},
      {"no longer default", [&] { ok.SetDefault(false); },
       [&] { return (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON; }},
      {"bounds", [&] { ok.SetBounds(30, 40, 90, 30); },
       [&] {
         return InParent(window) == Rect{30, 40, 120, 70};
       }},
      {"disabled", [&] { ok.SetEnabled(false); }, [&] { return !IsWindowEnabled(window); }},
      {"hidden", [&] { ok.SetVisible(false); }, [&] { return !IsWindowVisible(window); }},
      {"font", [&] { ok.GetFont()->SetName("Courier New"); },
       [&] { return std::wstring(FontOf(window).lfFaceName) == L"Courier New"; }},
  };
  for (const auto& c : kChanges) {
    SCOPED_TRACE(c.name);
    c.change();
    EXPECT_TRUE(c.shown());
  }

  form->Release(ok);  // the unique_ptr that comes back destroys it
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(windows_.ControlOf(window), nullptr);
  EXPECT_EQ(GetWindow(Window(panel), GW_CHILD), nullptr);
}

TEST_F(NativeHostTest, AKindHearsOfItsWindowsLifeAndWhatTheyTellTheirParent) {
  auto kind = std::make_shared<RecordingKind>(log_);
  windows_.RegisterNativeKind("Recorded", kind);
  auto form = MakeForm("form");
  auto& text = AddNative(*form, *form, "text", {10, 10, 100, 30});
  text.kind = "Recorded";
  text.SetCaption("abc");
  form->Show();
  HWND window = Window(text);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ClassOf(window), L"STATIC");
  EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & SS_NOTIFY, 0);

  text.SetLeft(20);
  // A static control with SS_NOTIFY tells its parent of a double click so.
  SendMessageW(Window(*form), WM_COMMAND, MAKEWPARAM(0, STN_DBLCLK),
               reinterpret_cast<LPARAM>(window));
  NMHDR header{window, 0, 1234};
  EXPECT_EQ(SendMessageW(Window(*form), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 77);
  EXPECT_EQ(SendMessageW(window, RecordingKind::kAsk, 1, 2), 42);
  // Other messages reach the class's own procedure.
  EXPECT_EQ(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0), 3);
  // Not from a native child: nobody is told.
  NMHDR stranger{Window(*form), 0, 99};
  SendMessageW(Window(*form), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&stranger));

  form.reset();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(log_,
            (Log{"created text", "updated text", "command " + std::to_string(STN_DBLCLK) + " text",
                 "notify 1234 text", "asked text 3", "destroyed"}));

  // A kind nobody registered cannot make a window.
  auto other = MakeForm("other");
  AddNative(*other, *other, "odd", {0, 0, 10, 10}).kind = "Unheard";
  EXPECT_THROW(other->Show(), std::logic_error);
}

TEST_F(NativeHostTest, ARealClickOnAPushButtonClicksTheControlInsideAModalLoop) {
  auto owner = MakeForm("owner");
  owner->Show();
  auto dialog = MakeForm("dialog", 160, 80);
  auto& ok = AddNative(*dialog, *dialog, "ok", {40, 20, 115, 45});
  ok.SetCaption("OK");
  dialog->OnShow.handler = [&](Component&) {
    const Point at = Screen(ok, {30, 12});
    SetCursorPos(at.x, at.y);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    SendButton(MOUSEEVENTF_LEFTUP);
  };
  ok.OnClick.handler = [&](Component&) { dialog->SetModalResult(7); };
  EXPECT_EQ(dialog->ShowModal(), 7);
  // The system's button took the mouse (and the focus with it); our control
  // heard no mouse message, only the click.
  Log heard;
  for (const std::string& entry : log_) {
    if (entry != "ok gained" && entry != "ok lost") heard.push_back(entry);
  }
  EXPECT_EQ(heard, (Log{"ok click"}));
}

TEST_F(NativeHostTest, TheFocusAndThePreTranslatedKeysReachANativeChild) {
  auto form = MakeForm("form");
  auto& first = Add<Probe>(*form, *form, "first", {0, 0, 20, 20});
  first.SetTabStop(true);
  auto& button = AddNative(*form, *form, "button", {40, 0, 115, 25});
  button.SetTabStop(true);
  auto& taker = Add<Probe>(*form, *form, "taker", {0, 40, 20, 60});
  taker.takeDialogKeys = {VK_RETURN};
  form->Show();
  Pump(30);
  ASSERT_EQ(windows_.Focused(), &first);

  log_.clear();
  SendKeys({}, VK_TAB);
  Pump(50);
  EXPECT_EQ(windows_.Focused(), &button);
  EXPECT_EQ(GetFocus(), Window(button));
  SendKeys({}, VK_RETURN);
  Pump(50);
  SendKeys({}, VK_TAB);
  Pump(50);
  EXPECT_EQ(windows_.Focused(), &first);
  EXPECT_EQ(log_,
            (Log{"first key 9 -", "first dialog 9 -", "button dialog 9 -", "taker dialog 9 -",
                 "first lost", "button gained", "button key 13 -", "first dialog 13 -",
                 "button dialog 13 -", "taker dialog 13 -", "button key 9 -", "first dialog 9 -",
                 "button dialog 9 -", "taker dialog 9 -", "button lost", "first gained"}));
}

TEST_F(NativeHostTest, NativeWindowsAndTheirFontsAreFreed) {
  auto cycle = [&] {
    auto form = MakeForm("form", 160, 90);
    auto& a = AddNative(*form, *form, "a", {5, 5, 80, 30});
    AddNative(*form, *form, "b", {5, 40, 80, 65}).SetDefault(true);
    form->Show();
    a.GetFont()->SetSize(12);  // a second font, the first given back
    UpdateWindow(Window(*form));
  };
  ExpectCyclesLeaveNothing(cycle, 300);
}

}  // namespace
}  // namespace ui::win32::testing
