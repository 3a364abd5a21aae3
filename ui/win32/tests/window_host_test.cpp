// Forms and controls on real windows: frames, sizes and placement, child
// windows in z-order following their controls, painting of lightweight
// controls by their parent's window, and nothing left behind.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/font.h"
#include "ui/win32/testing/gui_objects.h"
#include "ui/win32/testing/pixel_surface.h"
#include "ui/win32/tests/host_fixture.h"

namespace ui::win32::testing {
namespace {

std::wstring WindowTextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

RECT ClientRectOf(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect;
}

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// A child window's rectangle in its parent's client coordinates.
Rect InParent(HWND window) {
  RECT rect = WindowRectOf(window);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

// The child windows of `parent`, topmost first.
std::vector<HWND> ZOrder(HWND parent) {
  std::vector<HWND> order;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    order.push_back(child);
  }
  return order;
}

DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }

// What the window shows now, as the screen has it.
void Grab(HWND window, PixelSurface& surface) {
  UpdateWindow(window);
  HDC dc = GetDC(window);
  BitBlt(surface.Handle(), 0, 0, surface.Width(), surface.Height(), dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
}

class WindowHostTest : public HostTest {};

// ---- forms ----

struct FrameCase {
  const char* name;
  TFormBorderStyle border;
  DWORD styleSet;
  DWORD styleClear;
  DWORD exStyleSet;
};

TEST_F(WindowHostTest, FormFrameFollowsBorderStyleAroundTheClientSize) {
  const FrameCase kCases[] = {
      {"dialog", TFormBorderStyle::bsDialog, WS_CAPTION | WS_SYSMENU,
       WS_THICKFRAME | WS_POPUP | WS_MINIMIZEBOX, WS_EX_DLGMODALFRAME},
      {"single", TFormBorderStyle::bsSingle, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_POPUP, 0},
      {"sizeable", TFormBorderStyle::bsSizeable, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
       WS_POPUP, 0},
      {"none", TFormBorderStyle::bsNone, WS_POPUP, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 0},
  };
  for (const FrameCase& c : kCases) {
    SCOPED_TRACE(c.name);
    auto form = MakeForm("frame", 530, 366);
    form->SetBorderStyle(c.border);
    form->SetCaption("Pr\xC3\xBC" "fung \xE2\x9C\x93");  // "Prüfung ✓"
    form->Show();
    HWND window = Window(*form);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Style(window) & c.styleSet, c.styleSet);
    EXPECT_EQ(Style(window) & c.styleClear, 0u);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)) & c.exStyleSet, c.exStyleSet);
    EXPECT_TRUE(IsWindowVisible(window));
    const RECT client = ClientRectOf(window);
    EXPECT_EQ(client.right, 530);
    EXPECT_EQ(client.bottom, 366);
    EXPECT_EQ(WindowTextOf(window), L"Pr\u00FCfung \u2713");
    // The form knows where it really is.
    const RECT outer = WindowRectOf(window);
    EXPECT_EQ(form->BoundsRect(), (Rect{outer.left, outer.top, outer.right, outer.bottom}));
  }
}

TEST_F(WindowHostTest, FormPlacement) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  auto centred = MakeForm("centred", 301, 151);
  centred->SetPosition(TPosition::poScreenCenter);
  centred->Show();
  const RECT c = WindowRectOf(Window(*centred));
  EXPECT_EQ(c.left - work.left, (work.right - work.left - (c.right - c.left)) / 2);
  EXPECT_EQ(c.top - work.top, (work.bottom - work.top - (c.bottom - c.top)) / 2);
  EXPECT_NE(c.left, 100) << "the designed place is ignored";

  // Without a client size the outer size is the form's own.
  auto designed = MakeForm("designed", 0, 0);
  designed->SetBorderStyle(TFormBorderStyle::bsSizeable);
  designed->SetBounds(40, 60, 640, 400);
  designed->Show();
  const RECT d = WindowRectOf(Window(*designed));
  EXPECT_EQ((Rect{d.left, d.top, d.right, d.bottom}), (Rect{40, 60, 680, 460}));
  EXPECT_EQ(designed->ClientWidth(), ClientRectOf(Window(*designed)).right);
}

// A form that answers one private message of another program's.
class AnsweringForm : public ProbeForm {
 public:
  using ProbeForm::ProbeForm;
  std::optional<std::intptr_t> WindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                             std::intptr_t) override {
    if (message != WM_APP + 7) return std::nullopt;
    heard.push_back(wParam);
    return 42;
  }
  std::vector<std::uintptr_t> heard;
};

TEST_F(WindowHostTest, AFormAnswersItsPrivateMessagesBeforeTheWindowSystem) {
  AnsweringForm form(windows_);
  form.SetClientWidth(120);
  form.SetClientHeight(80);
  form.SetCaption("before");
  form.Show();
  HWND window = Window(form);
  EXPECT_EQ(SendMessageW(window, WM_APP + 7, 5, 0), 42);
  PostMessageW(window, WM_APP + 7, 6, 0);
  Pump(50);
  EXPECT_EQ(form.heard, (std::vector<std::uintptr_t>{5, 6}));
  // Every other message keeps its ordinary handling.
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"after"));
  EXPECT_EQ(WindowTextOf(window), L"after");
  EXPECT_EQ(form.heard.size(), 2u);
}

TEST_F(WindowHostTest, WindowsFollowChangesOfTheirControls) {
  auto form = MakeForm("form");
  auto& a = Add<Probe>(*form, *form, "a", {10, 10, 60, 40});
  form->Show();
  HWND window = Window(*form);
  HWND aWindow = Window(a);

  form->SetCaption("Renamed");
  EXPECT_EQ(WindowTextOf(window), L"Renamed");
  form->SetClientWidth(333);
  EXPECT_EQ(ClientRectOf(window).right, 333);
  EXPECT_EQ(ClientRectOf(window).bottom, 150) << "the height stays";
  form->SetLeft(150);
  EXPECT_EQ(WindowRectOf(window).left, 150);

  a.SetBounds(20, 30, 70, 23);
  EXPECT_EQ(InParent(aWindow), (Rect{20, 30, 90, 53}));
  a.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(aWindow));
  a.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(aWindow));
  a.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(aWindow));
  a.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(aWindow));
  form->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(window));
}

// ---- child windows ----

TEST_F(WindowHostTest, ChildWindowsStackInChildrenOrderTheLastOnTop) {
  auto form = MakeForm("form");
  auto& a = Add<Probe>(*form, *form, "a", {0, 0, 50, 50});
  Add<LightProbe>(*form, *form, "label", {0, 0, 50, 50});
  auto& panel = Add<Probe>(*form, *form, "panel", {10, 10, 100, 100});
  auto& inner1 = Add<Probe>(*form, panel, "inner1", {0, 0, 20, 20});
  auto& inner2 = Add<Probe>(*form, panel, "inner2", {5, 5, 20, 20});
  auto& b = Add<Probe>(*form, *form, "b", {20, 20, 50, 50});
  EXPECT_EQ(Window(a), nullptr) << "no window before the form is shown";
  form->Show();

  HWND window = Window(*form);
  EXPECT_EQ(ZOrder(window), (std::vector<HWND>{Window(b), Window(panel), Window(a)}));
  EXPECT_EQ(ZOrder(Window(panel)), (std::vector<HWND>{Window(inner2), Window(inner1)}));
  for (HWND child : {Window(a), Window(panel), Window(inner1)}) {
    EXPECT_EQ(Style(child) & (WS_CHILD | WS_CLIPSIBLINGS), DWORD{WS_CHILD | WS_CLIPSIBLINGS});
  }
  EXPECT_EQ(Style(Window(panel)) & WS_CLIPCHILDREN, DWORD{WS_CLIPCHILDREN});
  EXPECT_EQ(Style(window) & WS_CLIPCHILDREN, DWORD{WS_CLIPCHILDREN});
  EXPECT_EQ(InParent(Window(inner2)), (Rect{5, 5, 20, 20}));
  // One class for all, with double clicks and no background brush.
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  wchar_t name[64] = {};
  GetClassNameW(Window(inner1), name, 64);
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), name, &cls));
  EXPECT_NE(cls.style & CS_DBLCLKS, 0u);
  EXPECT_EQ(cls.hbrBackground, nullptr);
  GetClassNameW(window, name + 32, 32);
  EXPECT_EQ(std::wstring(name), std::wstring(name + 32));

  // Controls that arrive later get their window in the same stacking.
  auto& c = Add<Probe>(*form, *form, "c", {0, 0, 10, 10});
  EXPECT_EQ(ZOrder(window).front(), Window(c));
  a.SetParent(&panel);
  ASSERT_NE(Window(a), nullptr);
  EXPECT_EQ(GetParent(Window(a)), Window(panel));
  EXPECT_EQ(ZOrder(Window(panel)),
            (std::vector<HWND>{Window(a), Window(inner2), Window(inner1)}));
  EXPECT_EQ(ZOrder(window), (std::vector<HWND>{Window(c), Window(b), Window(panel)}));
}

TEST_F(WindowHostTest, RemovingAControlDestroysItsWindowsAndForgetsThem) {
  auto form = MakeForm("form");
  auto panel = std::make_unique<Probe>();
  panel->SetName("panel");
  panel->SetBounds(10, 10, 100, 100);
  panel->SetParent(form.get());
  auto& inner = Add<Probe>(*form, *panel, "inner", {0, 0, 20, 20});
  form->Show();
  HWND panelWindow = Window(*panel);
  HWND innerWindow = Window(inner);
  ASSERT_TRUE(inner.SetFocus());
  windows_.SetCapture(inner);
  ASSERT_EQ(windows_.Captured(), &inner);

  panel.reset();
  EXPECT_FALSE(IsWindow(panelWindow));
  EXPECT_FALSE(IsWindow(innerWindow));
  EXPECT_EQ(windows_.ControlOf(innerWindow), nullptr);
  EXPECT_EQ(windows_.Captured(), nullptr);
  WinControl* focused = windows_.Focused();
  EXPECT_TRUE(focused == nullptr || focused == form.get()) << focused->Name();
  Pump(20);

  HWND window = Window(*form);
  form.reset();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(windows_.ControlOf(window), nullptr);
}

// ---- painting ----

constexpr Colour kFormColour = 0x00FFFFFF;
constexpr Colour kMarker = 0x000000FF;

// Paints far beyond its bounds and marks its origin.
void PaintOverflowing(Control& control, Canvas& canvas) {
  canvas.FillRect({-50, -50, 500, 500}, control.Color());
  canvas.SetPixel({0, 0}, kMarker);
}

TEST_F(WindowHostTest, ParentWindowPaintsLightweightChildrenAtTheirPlaceClipped) {
  windows_.RegisterPainter(LightProbe::StaticClass(), PaintOverflowing);
  auto form = MakeForm("form", 120, 80);
  auto& low = Add<LightProbe>(*form, *form, "low", {10, 5, 40, 25});
  low.SetColor(0x0000C000);
  auto& high = Add<LightProbe>(*form, *form, "high", {30, 15, 60, 45});
  high.SetColor(0x00C00000);
  auto& hidden = Add<LightProbe>(*form, *form, "hidden", {70, 50, 100, 70});
  hidden.SetColor(0x00000000);
  hidden.SetVisible(false);
  form->Show();

  PixelSurface surface(120, 80, 0x00123456);
  Grab(Window(*form), surface);
  auto inside = [](const LightProbe& c, int x, int y) {
    return x >= c.Left() && x < c.Left() + c.Width() && y >= c.Top() && y < c.Top() + c.Height();
  };
  EXPECT_EQ(Mismatches(surface,
                       [&](int x, int y) -> Colour {
                         for (const LightProbe* c : {&high, &low}) {
                           if (x == c->Left() && y == c->Top()) return kMarker;
                           if (inside(*c, x, y)) return c->Color();
                         }
                         return kFormColour;
                       }),
            "");

  // A change of look repaints it.
  low.SetColor(0x00808080);
  Pump(50);
  Grab(Window(*form), surface);
  EXPECT_EQ(surface.At(12, 7), 0x00808080u);
}

TEST_F(WindowHostTest, PainterIsFoundThroughTheBaseClasses) {
  auto form = MakeForm("form", 60, 20);
  auto& probe = Add<Probe>(*form, *form, "probe", {0, 0, 20, 20});
  probe.SetColor(0x00336699);
  form->Show();
  PixelSurface surface(1, 1);
  Grab(Window(probe), surface);
  EXPECT_EQ(surface.At(0, 0), 0x00336699u) << "no painter: filled with its colour";

  windows_.RegisterPainter(WinControl::StaticClass(), [](Control&, Canvas& canvas) {
    canvas.FillRect({0, 0, 100, 100}, 0x00010203);
  });
  InvalidateRect(Window(probe), nullptr, FALSE);
  Grab(Window(probe), surface);
  EXPECT_EQ(surface.At(0, 0), 0x00010203u) << "the base class's painter";

  windows_.RegisterPainter(Probe::StaticClass(), [](Control&, Canvas& canvas) {
    canvas.FillRect({0, 0, 100, 100}, 0x00040506);
  });
  InvalidateRect(Window(probe), nullptr, FALSE);
  Grab(Window(probe), surface);
  EXPECT_EQ(surface.At(0, 0), 0x00040506u) << "its own painter first";
}

// ---- resources ----

TEST_F(WindowHostTest, ShowingAndDestroyingFormsLeavesNoGdiObjectOrWindow) {
  windows_.RegisterPainter(LightProbe::StaticClass(), [](Control& control, Canvas& canvas) {
    canvas.SetPen({0x00FF0000});
    canvas.SetBrush({0x0000FF00});
    canvas.SetFont({});
    canvas.Rectangle({0, 0, control.Width(), control.Height()});
    Rect text{0, 0, control.Width(), control.Height()};
    canvas.DrawText("label", text, 0);
  });
  auto cycle = [&] {
    auto form = MakeForm("form", 160, 90);
    auto& panel = Add<Probe>(*form, *form, "panel", {5, 5, 100, 60});
    Add<Probe>(*form, panel, "inner", {5, 5, 30, 20});
    Add<LightProbe>(*form, panel, "label", {40, 5, 90, 25});
    Add<LightProbe>(*form, *form, "caption", {110, 5, 150, 25});
    form->Show();
    UpdateWindow(Window(*form));
    UpdateWindow(Window(panel));
  };
  ExpectCyclesLeaveNothing(cycle, 1000);
}

TEST_F(WindowHostTest, MeasureTextAddsBoldOnRequestAndLeaksNothing) {
  Font plain;
  plain.SetName("Tahoma");
  plain.SetSize(10);
  Font bold;
  bold.Assign(plain);
  bold.SetStyle(Font::kBold);
  const std::string text = "Check Me Now!";
  const Size measured = windows_.MeasureText(plain, false, text);
  EXPECT_GT(measured.width, 0);
  EXPECT_GT(measured.height, 0);
  EXPECT_EQ(windows_.MeasureText(plain, true, text), windows_.MeasureText(bold, false, text));
  EXPECT_GT(windows_.MeasureText(plain, true, text).width, measured.width);
  EXPECT_EQ(windows_.MeasureText(plain, false, "").width, 0);
  Font large;
  large.Assign(plain);
  large.SetSize(20);
  EXPECT_GT(windows_.MeasureText(large, false, text).height, measured.height);

  const GuiObjects before = CountGuiObjects();
  for (int i = 0; i < 200; ++i) windows_.MeasureText(plain, i % 2 == 0, text);
  EXPECT_EQ(CountGuiObjects(), before);
}

TEST_F(WindowHostTest, BitmapResourceIsTheProgramsBitmapWithoutFileHeader) {
  const auto bytes = windows_.BitmapResource("QR_HOST_PICTURE");
  ASSERT_TRUE(bytes.has_value());
  ASSERT_GE(bytes->size(), sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER header{};
  std::memcpy(&header, bytes->data(), sizeof(header));
  EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(header.biWidth, 3);
  EXPECT_EQ(header.biHeight, 2);
  EXPECT_EQ(header.biBitCount, 24);
  EXPECT_EQ(bytes->size(), sizeof(BITMAPINFOHEADER) + 2 * 12);
  EXPECT_FALSE(windows_.BitmapResource("QR_NO_SUCH_PICTURE").has_value());
}

}  // namespace
}  // namespace ui::win32::testing
