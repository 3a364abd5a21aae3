#include "ui/win32/win32_window_system.h"

#include <windowsx.h>

#include <stdexcept>
#include <utility>

#include "platform/win32/wide_text.h"
#include "ui/font_description.h"
#include "ui/property.h"
#include "ui/win32/application.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kClassName[] = L"QrControlWindow";
// The property of a native window that names its window system.
constexpr wchar_t kHostProperty[] = L"QrWindowSystem";

// What WM_NCCREATE needs to tie the new window to its system and control.
struct CreateParams {
  Win32WindowSystem* system;
  ui::WinControl* control;
};

std::wstring Wide(std::string_view text) { return platform::win32::ToWide(std::string(text)); }

bool Contains(const ui::Rect& rect, ui::Point at) {
  return at.x >= rect.left && at.x < rect.right && at.y >= rect.top && at.y < rect.bottom;
}

ui::ShiftState MouseShift(WPARAM wParam) {
  return {(wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0};
}

// The key state as it was when the message was queued (GetKeyState follows
// the messages taken from the queue); a system key carries Alt in its
// context bit even when no Alt key event came first.
ui::ShiftState KeyShift(const MSG& message) {
  const bool altBit = message.message == WM_SYSKEYDOWN && (message.lParam & (1 << 29)) != 0;
  return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
          altBit || GetKeyState(VK_MENU) < 0};
}

DWORD FormStyle(ui::TFormBorderStyle border) {
  switch (border) {
    case ui::TFormBorderStyle::bsNone:
      return WS_POPUP;
    case ui::TFormBorderStyle::bsSingle:
      return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    case ui::TFormBorderStyle::bsSizeable:
      return WS_OVERLAPPEDWINDOW;
    case ui::TFormBorderStyle::bsDialog:
      return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  }
  return WS_OVERLAPPEDWINDOW;
}

DWORD FormExStyle(ui::TFormBorderStyle border) {
  return border == ui::TFormBorderStyle::bsDialog ? WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE : 0;
}

// The text a window carries: the control's published Caption, if it has one.
std::wstring WindowText(const ui::Control& control) {
  const ui::PropertyInfo* caption = control.Class().FindProperty("Caption");
  if (caption == nullptr || caption->kind != ui::PropertyKind::Text || !caption->get) return {};
  const ui::Value value = caption->get(control);
  const auto* text = std::get_if<std::string>(&value);
  return text ? Wide(*text) : std::wstring();
}

// A published Boolean of the control (false when it has none).
bool PublishedFlag(const ui::Control& control, const char* name) {
  const ui::PropertyInfo* flag = control.Class().FindProperty(name);
  if (flag == nullptr || flag->kind != ui::PropertyKind::Boolean || !flag->get) return false;
  const ui::Value value = flag->get(control);
  const auto* on = std::get_if<bool>(&value);
  return on != nullptr && *on;
}

// The system's push button; its caption comes as the window text.
class PushButtonKind : public Win32WindowSystem::NativeKind {
 public:
  const wchar_t* ClassName() const override { return L"BUTTON"; }
  DWORD Style(const ui::WinControl& control) const override { return ButtonStyle(control); }
  void Updated(ui::WinControl& control, HWND window) override {
    const DWORD style = ButtonStyle(control);
    if ((static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & BS_TYPEMASK) != style) {
      SendMessageW(window, BM_SETSTYLE, style, TRUE);
    }
  }
  std::optional<LRESULT> Command(ui::WinControl& control, HWND, WORD code) override {
    if (code != BN_CLICKED) return std::nullopt;
    control.Click();
    return 0;
  }

 private:
  static DWORD ButtonStyle(const ui::WinControl& control) {
    return PublishedFlag(control, "Default") ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  }
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

bool IsTopLevel(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0; }

// The windowed controls of `parent` and of the containers inside it, depth
// first in tab order: the order Tab walks.
void CollectTabOrder(const ui::WinControl& parent, std::vector<ui::WinControl*>& order) {
  for (ui::WinControl* child : parent.TabList()) {
    order.push_back(child);
    CollectTabOrder(*child, order);
  }
}

bool TakesTab(const ui::WinControl& control) { return control.TabStop() && control.CanFocus(); }

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

}  // namespace

// ---- set-up ----

Win32WindowSystem::Win32WindowSystem(Application& application)
    : application_(application), instance_(GetModuleHandleW(nullptr)) {
  if (application_.windows_ != nullptr) {
    throw std::logic_error("the application already has a window system");
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.cbWndExtra = sizeof(Win32WindowSystem*);
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  // The program's icon, by the name programs of this kind give it; a
  // program without one gets the system's.
  windowClass.hIcon = LoadIconW(instance_, L"MAINICON");
  // No background brush: the painters cover their whole area.
  windowClass.lpszClassName = kClassName;
  // Another window system of this process may have registered it already;
  // each window carries its own system, so they share the class.
  if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("registering the window class failed");
  }
  CreateParams params{this, nullptr};
  timerWindow_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 instance_, &params);
  if (timerWindow_ == nullptr) throw std::runtime_error("creating the timer window failed");
  RegisterNativeKind(ui::kPushButtonWindow, std::make_shared<PushButtonKind>());
  application_.windows_ = this;
}

Win32WindowSystem::~Win32WindowSystem() {
  application_.windows_ = nullptr;
  std::vector<HWND> roots;
  for (const auto& [window, info] : windows_) {
    if (IsTopLevel(window)) roots.push_back(window);
  }
  for (HWND window : roots) DestroyTree(window);
  DestroyWindow(timerWindow_);
  // Fails, harmlessly, while another window system still has windows.
  UnregisterClassW(kClassName, instance_);
}

void Win32WindowSystem::RegisterPainter(const ui::ClassInfo& cls, Painter painter) {
  painters_[&cls] = std::move(painter);
}

void Win32WindowSystem::RegisterNativeKind(std::string_view kind, std::shared_ptr<NativeKind> how) {
  nativeKinds_[std::string(kind)] = std::move(how);
}

HWND Win32WindowSystem::WindowOf(const ui::Control& control) const {
  const auto it = handles_.find(&control);
  return it == handles_.end() ? nullptr : it->second;
}

ui::WinControl* Win32WindowSystem::ControlOf(HWND window) const {
  const auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : it->second.control;
}

ui::Form* Win32WindowSystem::FormOf(HWND window) const {
  if (window == nullptr) return nullptr;
  return dynamic_cast<ui::Form*>(ControlOf(GetAncestor(window, GA_ROOT)));
}

HWND Win32WindowSystem::ActiveFormWindow() const {
  HWND active = GetActiveWindow();
  return ControlOf(active) != nullptr ? active : nullptr;
}

void Win32WindowSystem::ShowException() { application_.ShowException(std::current_exception()); }

// ---- windows ----

void Win32WindowSystem::Map(HWND window, ui::WinControl& control) {
  windows_[window].control = &control;
  handles_[&control] = window;
}

void Win32WindowSystem::Forget(HWND window) {
  const auto it = windows_.find(window);
  if (it == windows_.end()) return;
  handles_.erase(it->second.control);
  windows_.erase(it);
  savedFocus_.erase(window);
  if (lightPress_.window == window) lightPress_ = {};
}

void Win32WindowSystem::DestroyTree(HWND window) {
  std::vector<HWND> tree{window};
  EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&tree));
  for (HWND each : tree) Forget(each);
  DestroyWindow(window);
}

void Win32WindowSystem::CreateFormWindow(ui::Form& form, HWND owner) {
  const DWORD style = FormStyle(form.BorderStyle()) | WS_CLIPCHILDREN;
  const DWORD exStyle = FormExStyle(form.BorderStyle());
  RECT frame{0, 0, form.ClientWidth(), form.ClientHeight()};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = form.ClientWidth() > 0 ? frame.right - frame.left : form.Width();
  const int height = form.ClientHeight() > 0 ? frame.bottom - frame.top : form.Height();
  int left = form.Left();
  int top = form.Top();
  if (form.Position() == ui::TPosition::poScreenCenter) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    left = work.left + (work.right - work.left - width) / 2;
    top = work.top + (work.bottom - work.top - height) / 2;
  }
  const std::wstring text = WindowText(form);
  CreateParams params{this, &form};
  HWND window = CreateWindowExW(exStyle, kClassName, text.c_str(), style, left, top, width, height,
                                owner, nullptr, instance_, &params);
  if (window == nullptr) throw std::runtime_error("creating the window of " + form.Name() + " failed");
  Window& info = windows_.at(window);
  info.text = text;
  info.visible = false;
  info.enabled = form.Enabled();
  if (!info.enabled) EnableWindow(window, FALSE);
  try {
    form.WindowCreated();
    CreateChildren(form, window);
  } catch (...) {
    DestroyTree(window);
    throw;
  }
  SyncFormBounds(window, form);
}

HWND Win32WindowSystem::CreateChildWindow(ui::WinControl& control, HWND parent) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (control.Visible()) style |= WS_VISIBLE;
  if (!control.Enabled()) style |= WS_DISABLED;
  const std::wstring text = WindowText(control);
  HWND window = nullptr;
  if (!control.NativeWindowKind().empty()) {
    window = CreateNativeWindow(control, parent, style, text);
  } else {
    CreateParams params{this, &control};
    window = CreateWindowExW(0, kClassName, text.c_str(), style | WS_CLIPCHILDREN, control.Left(),
                             control.Top(), control.Width(), control.Height(), parent, nullptr,
                             instance_, &params);
  }
  if (window == nullptr) {
    throw std::runtime_error("creating the window of " + control.Name() + " failed");
  }
  Window& info = windows_.at(window);
  info.text = text;
  info.visible = control.Visible();
  info.enabled = control.Enabled();
  PlaceInZOrder(window, control);
  if (const auto native = natives_.find(window); native != natives_.end()) {
    const std::shared_ptr<NativeKind> kind = native->second.kind;
    kind->Created(control, window);
  }
  control.WindowCreated();
  CreateChildren(control, window);
  return window;
}

HWND Win32WindowSystem::CreateNativeWindow(ui::WinControl& control, HWND parent, DWORD style,
                                           const std::wstring& text) {
  const auto found = nativeKinds_.find(std::string(control.NativeWindowKind()));
  if (found == nativeKinds_.end()) {
    throw std::logic_error(control.Name() + " asks for a window of kind " +
                           std::string(control.NativeWindowKind()) + ", which nobody registered");
  }
  const std::shared_ptr<NativeKind> kind = found->second;
  HWND window = CreateWindowExW(kind->ExStyle(control), kind->ClassName(), text.c_str(),
                                style | kind->Style(control), control.Left(), control.Top(),
                                control.Width(), control.Height(), parent, nullptr, instance_,
                                nullptr);
  if (window == nullptr) return nullptr;
  // From here on the window's messages pass through NativeProcedure, which
  // announces the focus and hands the rest to the kind.
  Map(window, control);
  Native& native = natives_[window];
  native.kind = kind;
  native.system = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  SetPropW(window, kHostProperty, this);
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NativeProcedure));
  ApplyFont(window, control);
  return window;
}

void Win32WindowSystem::ApplyFont(HWND window, const ui::Control& control) {
  const auto native = natives_.find(window);
  if (native == natives_.end()) return;
  ui::FontDescription wanted = ui::Describe(control.FontOf());
  wanted.colour = 0;  // the system class colours its text itself
  if (native->second.font != nullptr && native->second.fontMadeFrom == wanted) return;
  HDC screen = GetDC(nullptr);
  HFONT font = CreateGdiFont(wanted, screen);
  ReleaseDC(nullptr, screen);
  if (font == nullptr) throw GdiError("creating the font of " + control.Name() + " failed");
  HFONT old = std::exchange(native->second.font, font);
  native->second.fontMadeFrom = wanted;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  // The window no longer uses the old one.
  if (old != nullptr) DeleteObject(old);
}

std::pair<std::shared_ptr<Win32WindowSystem::NativeKind>, ui::WinControl*>
Win32WindowSystem::NativeChild(HWND window) const {
  const auto native = natives_.find(window);
  ui::WinControl* control = ControlOf(window);
  if (native == natives_.end() || control == nullptr) return {nullptr, nullptr};
  return {native->second.kind, control};
}

void Win32WindowSystem::CreateChildren(ui::WinControl& control, HWND window) {
  for (std::size_t i = 0; i < control.ControlCount(); ++i) {
    auto* child = dynamic_cast<ui::WinControl*>(&control.Controls(i));
    if (child != nullptr && WindowOf(*child) == nullptr) CreateChildWindow(*child, window);
  }
}

void Win32WindowSystem::PlaceInZOrder(HWND window, ui::WinControl& control) {
  // The children's order is the z-order, the last on top: the window goes
  // just below the window of the next windowed sibling, or on top.
  HWND above = HWND_TOP;
  const ui::WinControl* parent = control.Parent();
  bool after = false;
  for (std::size_t i = 0; parent != nullptr && i < parent->ControlCount(); ++i) {
    const ui::Control& sibling = parent->Controls(i);
    if (&sibling == &control) {
      after = true;
    } else if (HWND next = after ? WindowOf(sibling) : nullptr) {
      above = next;
      break;
    }
  }
  SetWindowPos(window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32WindowSystem::SyncFormBounds(HWND window, ui::Form& form) {
  if (IsIconic(window)) return;
  RECT outer{};
  RECT client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  const bool wasSyncing = std::exchange(syncing_, true);
  try {
    form.SetBounds(outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top);
    form.SetClientWidth(client.right);
    form.SetClientHeight(client.bottom);
  } catch (...) {
    syncing_ = wasSyncing;
    throw;
  }
  syncing_ = wasSyncing;
}

void Win32WindowSystem::Update(ui::Control& control) {
  if (syncing_) return;
  if (HWND window = WindowOf(control)) {
    if (auto* form = dynamic_cast<ui::Form*>(&control); form != nullptr && IsTopLevel(window)) {
      UpdateForm(window, *form);
    } else {
      UpdateChild(window, *ControlOf(window));
    }
    return;
  }
  ui::WinControl* parent = control.Parent();
  HWND parentWindow = parent != nullptr ? WindowOf(*parent) : nullptr;
  if (parentWindow == nullptr) return;
  if (auto* windowed = dynamic_cast<ui::WinControl*>(&control)) {
    // Put into a parent that is on the screen already.
    CreateChildWindow(*windowed, parentWindow);
  } else {
    // Its old place is not known any more: the parent paints afresh.
    InvalidateRect(parentWindow, nullptr, FALSE);
  }
}

// Notes what the window is to show in its record before telling the window:
// the calls send messages whose handlers may change or destroy it.
Win32WindowSystem::Changes Win32WindowSystem::NoteChanges(HWND window, const ui::Control& control) {
  Changes changes;
  Window& info = windows_.at(window);
  if (control.Visible() != info.visible) {
    info.visible = control.Visible();
    changes.visible = info.visible;
  }
  if (control.Enabled() != info.enabled) {
    info.enabled = control.Enabled();
    changes.enabled = info.enabled;
  }
  std::wstring text = WindowText(control);
  if (text != info.text) {
    info.text = text;
    changes.text = std::move(text);
  }
  return changes;
}

void Win32WindowSystem::UpdateChild(HWND window, ui::WinControl& control) {
  const Changes changes = NoteChanges(window, control);
  const RECT now = RectInParent(window);
  if (now.left != control.Left() || now.top != control.Top() ||
      now.right - now.left != control.Width() || now.bottom - now.top != control.Height()) {
    SetWindowPos(window, nullptr, control.Left(), control.Top(), control.Width(), control.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (changes.visible) ShowWindow(window, *changes.visible ? SW_SHOWNA : SW_HIDE);
  if (changes.enabled) EnableWindow(window, *changes.enabled);
  if (changes.text) SetWindowTextW(window, changes.text->c_str());
  if (auto [kind, native] = NativeChild(window); kind != nullptr) {
    ApplyFont(window, *native);
    kind->Updated(*native, window);
  }
}

void Win32WindowSystem::UpdateForm(HWND window, ui::Form& form) {
  // A form's window is shown and hidden by Show, ShowModal and Close; its
  // enabled state changes only with the form's own, so that a form a modal
  // one disabled stays disabled.
  const Changes changes = NoteChanges(window, form);
  if (changes.enabled) EnableWindow(window, *changes.enabled);
  if (changes.text) SetWindowTextW(window, changes.text->c_str());
  if (WindowOf(form) != window || IsIconic(window)) return;
  RECT outer{};
  RECT client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  const bool clientAsked = (form.ClientWidth() > 0 && form.ClientWidth() != client.right) ||
                           (form.ClientHeight() > 0 && form.ClientHeight() != client.bottom);
  const bool moveAsked = form.Left() != outer.left || form.Top() != outer.top;
  const bool sizeAsked =
      form.Width() != outer.right - outer.left || form.Height() != outer.bottom - outer.top;
  if (!clientAsked && !moveAsked && !sizeAsked) return;
  int width = form.Width();
  int height = form.Height();
  if (clientAsked) {
    // The client size wins: the frame is added around it.
    RECT frame{0, 0, form.ClientWidth() > 0 ? form.ClientWidth() : client.right,
               form.ClientHeight() > 0 ? form.ClientHeight() : client.bottom};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    width = frame.right - frame.left;
    height = frame.bottom - frame.top;
  }
  SetWindowPos(window, nullptr, form.Left(), form.Top(), width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (WindowOf(form) == window) SyncFormBounds(window, form);
}

void Win32WindowSystem::Removed(ui::Control& control) {
  // The control may be half destroyed: only its address and its place in
  // the parent are used here.
  if (lightPress_.control == &control) {
    HWND window = std::exchange(lightPress_, {}).window;
    if (GetCapture() == window) ::ReleaseCapture();
  }
  if (&control == application_.mainForm_) application_.mainForm_ = nullptr;
  if (HWND window = WindowOf(control)) {
    DestroyTree(window);
    return;
  }
  ui::WinControl* parent = control.Parent();
  HWND parentWindow = parent != nullptr ? WindowOf(*parent) : nullptr;
  if (parentWindow == nullptr) return;
  const ui::Rect bounds = control.BoundsRect();
  const RECT rect{bounds.left, bounds.top, bounds.right, bounds.bottom};
  InvalidateRect(parentWindow, &rect, FALSE);
}

void Win32WindowSystem::Invalidate(ui::Control& control) {
  if (HWND window = WindowOf(control)) {
    // A font change comes as a repaint.
    ApplyFont(window, control);
    InvalidateRect(window, nullptr, FALSE);
    return;
  }
  ui::WinControl* parent = control.Parent();
  HWND parentWindow = parent != nullptr ? WindowOf(*parent) : nullptr;
  if (parentWindow == nullptr) return;
  const ui::Rect bounds = control.BoundsRect();
  const RECT rect{bounds.left, bounds.top, bounds.right, bounds.bottom};
  InvalidateRect(parentWindow, &rect, FALSE);
}

// ---- the window procedure ----

LRESULT CALLBACK Win32WindowSystem::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* params =
        static_cast<const CreateParams*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(params->system));
    if (params->control != nullptr) params->system->Map(window, *params->control);
  }
  auto* system = reinterpret_cast<Win32WindowSystem*>(GetWindowLongPtrW(window, 0));
  if (system == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    system->Forget(window);
    SetWindowLongPtrW(window, 0, 0);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return system->Handle(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32WindowSystem::NativeProcedure(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
  auto* system = static_cast<Win32WindowSystem*>(GetPropW(window, kHostProperty));
  return system->HandleNative(window, message, wParam, lParam);
}

LRESULT Win32WindowSystem::HandleNative(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Copied: the handling may destroy the window and its record.
  const Native native = natives_.at(window);
  auto system = [&] { return CallWindowProcW(native.system, window, message, wParam, lParam); };
  if (message == WM_NCDESTROY) {
    const LRESULT result = system();
    Forget(window);
    RemovePropW(window, kHostProperty);
    natives_.erase(window);
    if (native.font != nullptr) DeleteObject(native.font);
    native.kind->Destroyed(window);
    return result;
  }
  ui::WinControl* control = ControlOf(window);
  if (control == nullptr) return system();  // forgotten, on its way out
  try {
    switch (message) {
      case WM_SETFOCUS: {
        const LRESULT result = system();
        FocusArrived(*control);
        return result;
      }
      case WM_KILLFOCUS: {
        const LRESULT result = system();
        FocusLeft(*control, reinterpret_cast<HWND>(wParam));
        return result;
      }
      default:
        return native.kind->Message(*control, window, message, wParam, lParam, system);
    }
  } catch (...) {
    ShowException();
    return 0;
  }
}

void Win32WindowSystem::FocusArrived(ui::WinControl& control) {
  ui::Form* parentForm = control.ParentForm();
  control.FocusGained();
  if (parentForm != nullptr && WindowOf(*parentForm) != nullptr) {
    parentForm->FocusControlChanged();
  }
}

void Win32WindowSystem::FocusLeft(ui::WinControl& control, HWND to) {
  ui::Form* parentForm = control.ParentForm();
  control.FocusLost();
  // A move inside the form is announced once, by the WM_SETFOCUS.
  if (parentForm != nullptr && WindowOf(*parentForm) != nullptr && FormOf(to) != parentForm) {
    parentForm->FocusControlChanged();
  }
}

LRESULT Win32WindowSystem::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (window == timerWindow_) {
      if (message == WM_TIMER) {
        RunTimer(wParam);
        return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
    }
    ui::WinControl* control = ControlOf(window);
    if (control == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    auto* form = IsTopLevel(window) ? dynamic_cast<ui::Form*>(control) : nullptr;
    if (form != nullptr) {
      if (const auto result = form->WindowMessage(message, wParam, lParam)) return *result;
    }
    switch (message) {
      case WM_ERASEBKGND:
        return 1;  // the painters cover their area
      case WM_PAINT:
        Paint(window, *control);
        return 0;
      case WM_MOUSEMOVE:
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONUP:
        HandleMouse(window, *control, message, wParam, lParam);
        return 0;
      case WM_CAPTURECHANGED:
        if (lightPress_.window == window) lightPress_ = {};
        break;
      case WM_SETFOCUS:
        FocusArrived(*control);
        return 0;
      case WM_KILLFOCUS:
        FocusLeft(*control, reinterpret_cast<HWND>(wParam));
        return 0;
      // What a native child tells its parent goes to its kind.
      case WM_COMMAND:
        if (HWND child = reinterpret_cast<HWND>(lParam)) {
          if (auto [kind, native] = NativeChild(child); kind != nullptr) {
            if (const auto result = kind->Command(*native, child, HIWORD(wParam))) return *result;
          }
        }
        break;
      case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (auto [kind, native] = NativeChild(header.hwndFrom); kind != nullptr) {
          if (const auto result = kind->Notify(*native, header.hwndFrom, header)) return *result;
        }
        break;
      }
      case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window) {
          SetCursorFor(window, *control);
          return TRUE;
        }
        break;
      case WM_ACTIVATE:
        if (form == nullptr) break;
        if (LOWORD(wParam) == WA_INACTIVE) {
          HWND focus = GetFocus();
          if (focus != nullptr && (focus == window || IsChild(window, focus))) {
            savedFocus_[window] = focus;
          }
        } else if (!HIWORD(wParam)) {  // not minimised
          FocusOnActivation(window, *form);
        }
        return 0;
      case WM_CLOSE:
        if (form == nullptr) break;
        form->Close();
        return 0;
      case WM_WINDOWPOSCHANGED:
        if (form == nullptr) break;
        DefWindowProcW(window, message, wParam, lParam);
        SyncFormBounds(window, *form);
        return 0;
      default:
        break;
    }
  } catch (...) {
    ShowException();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// ---- painting ----

const Win32WindowSystem::Painter* Win32WindowSystem::FindPainter(const ui::ClassInfo& cls) const {
  for (const ui::ClassInfo* c = &cls; c != nullptr; c = c->Parent()) {
    const auto it = painters_.find(c);
    if (it != painters_.end()) return &it->second;
  }
  return nullptr;
}

void Win32WindowSystem::Paint(HWND window, ui::WinControl& control) {
  PaintScope paint(window);
  Canvas canvas(paint.Dc());
  PaintContent(control, canvas, {0, 0}, nullptr, nullptr);
}

void Win32WindowSystem::PaintParentImage(const ui::Control& control, Canvas& work) {
  ui::WinControl* parent = control.Parent();
  if (parent == nullptr) return;
  const ui::Rect bounds = control.BoundsRect();
  PaintContent(*parent, work, {-bounds.left, -bounds.top}, &control, &bounds);
}

void Win32WindowSystem::PaintContent(ui::WinControl& control, Canvas& canvas, ui::Point origin,
                                     const ui::Control* stopAt, const ui::Rect* within) {
  HDC dc = canvas.Handle();
  const ui::Rect client = control.ClientRect();
  // Each painter gets a canvas of its own with its origin at its control's
  // top left and the drawing clipped to the control.
  auto paintAt = [&](ui::Point at, const ui::Rect& clip,
                     const std::function<void(Canvas&)>& paint) {
    const int saved = canvas.Save();
    try {
      canvas.SetViewportOrigin(at);
      canvas.IntersectClip(clip);
      Canvas own(dc);
      paint(own);
    } catch (...) {
      canvas.Restore(saved);
      throw;
    }
    canvas.Restore(saved);
  };
  paintAt(origin, client, [&](Canvas& own) {
    if (const Painter* painter = FindPainter(control.Class())) {
      (*painter)(control, own);
    } else {
      own.FillRect(client, control.Color());
    }
  });
  for (std::size_t i = 0; i < control.ControlCount(); ++i) {
    ui::Control& child = control.Controls(i);
    if (&child == stopAt) break;
    if (dynamic_cast<ui::WinControl*>(&child) != nullptr || !child.Visible()) continue;
    const ui::Rect bounds = child.BoundsRect();
    if (within && (bounds.right <= within->left || bounds.left >= within->right ||
                   bounds.bottom <= within->top || bounds.top >= within->bottom)) {
      continue;
    }
    const Painter* painter = FindPainter(child.Class());
    if (painter == nullptr) continue;
    paintAt({origin.x + bounds.left, origin.y + bounds.top},
            {0, 0, bounds.Width(), bounds.Height()}, [&](Canvas& own) { (*painter)(child, own); });
  }
}

// ---- the mouse ----

ui::Control* Win32WindowSystem::LightweightAt(ui::WinControl& parent, ui::Point at) const {
  for (std::size_t i = parent.ControlCount(); i-- > 0;) {
    ui::Control& child = parent.Controls(i);
    // Disabled controls let the mouse through to what lies below.
    if (dynamic_cast<ui::WinControl*>(&child) != nullptr || !child.Visible() || !child.Enabled()) {
      continue;
    }
    if (Contains(child.BoundsRect(), at)) return &child;
  }
  return nullptr;
}

void Win32WindowSystem::HandleMouse(HWND window, ui::WinControl& control, UINT message,
                                    WPARAM wParam, LPARAM lParam) {
  const ui::Point at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const ui::ShiftState shift = MouseShift(wParam);
  ui::Control* target = &control;
  if (lightPress_.window == window) {
    target = lightPress_.control;
  } else if (GetCapture() != window) {
    // A windowed control holding the capture gets everything itself.
    if (ui::Control* light = LightweightAt(control, at)) target = light;
  }
  const bool light = target != &control;
  const ui::Point local = light ? ui::Point{at.x - target->Left(), at.y - target->Top()} : at;
  switch (message) {
    case WM_MOUSEMOVE:
      target->MouseMove(shift, local);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (light) {
        // A lightweight control has no window to capture the mouse: its
        // parent's window holds it until the release.
        lightPress_ = {window, target};
        ::SetCapture(window);
      }
      if (message == WM_LBUTTONDBLCLK) target->OnDblClick(*target);
      target->MouseDown(ui::TMouseButton::mbLeft, shift, local);
      break;
    case WM_LBUTTONUP:
      target->MouseUp(ui::TMouseButton::mbLeft, shift, local);
      if (light && lightPress_.window == window) {
        lightPress_ = {};
        if (GetCapture() == window) ::ReleaseCapture();
      }
      break;
    case WM_RBUTTONDOWN:
      target->MouseDown(ui::TMouseButton::mbRight, shift, local);
      break;
    case WM_RBUTTONUP:
      target->MouseUp(ui::TMouseButton::mbRight, shift, local);
      break;
    default:
      break;
  }
}

void Win32WindowSystem::SetCursorFor(HWND window, ui::WinControl& control) {
  POINT at{};
  GetCursorPos(&at);
  ScreenToClient(window, &at);
  const ui::Control* over = &control;
  if (GetCapture() != window) {
    if (ui::Control* light = LightweightAt(control, {at.x, at.y})) over = light;
  }
  LPCSTR cursor = IDC_ARROW;  // integer resources: the A and W names are one
  switch (over->Cursor()) {
    case ui::TCursor::crHandPoint:
      cursor = IDC_HAND;
      break;
    case ui::TCursor::crIBeam:
      cursor = IDC_IBEAM;
      break;
    default:
      break;
  }
  ::SetCursor(LoadCursorA(nullptr, cursor));
}

void Win32WindowSystem::SetCapture(ui::WinControl& control) {
  if (HWND window = WindowOf(control)) {
    lightPress_ = {};
    ::SetCapture(window);
  }
}

void Win32WindowSystem::ReleaseCapture() {
  lightPress_ = {};
  ::ReleaseCapture();
}

ui::WinControl* Win32WindowSystem::Captured() { return ControlOf(GetCapture()); }

ui::Point Win32WindowSystem::ClientToScreen(const ui::Control& control, ui::Point point) {
  if (HWND window = WindowOf(control)) {
    POINT p{point.x, point.y};
    ::ClientToScreen(window, &p);
    return {p.x, p.y};
  }
  const ui::Point inParent{point.x + control.Left(), point.y + control.Top()};
  if (const ui::WinControl* parent = control.Parent()) return ClientToScreen(*parent, inParent);
  return inParent;  // a form without a window: its bounds are on the screen
}

ui::Control* Win32WindowSystem::ControlAtScreen(ui::Point point) {
  HWND under = WindowFromPoint(POINT{point.x, point.y});
  if (under == nullptr) return nullptr;
  HWND root = GetAncestor(under, GA_ROOT);
  auto* form = dynamic_cast<ui::Form*>(ControlOf(root));
  if (form == nullptr) return nullptr;
  POINT p{point.x, point.y};
  ScreenToClient(root, &p);
  // Down the tree: windowed children lie above the lightweight ones, the
  // last child on top; disabled controls count, invisible ones do not.
  ui::Control* found = form;
  ui::Point at{p.x, p.y};
  for (;;) {
    auto* container = dynamic_cast<ui::WinControl*>(found);
    if (container == nullptr) return found;
    ui::Control* hit = nullptr;
    for (int pass = 0; pass < 2 && hit == nullptr; ++pass) {
      const bool windowed = pass == 0;
      for (std::size_t i = container->ControlCount(); i-- > 0;) {
        ui::Control& child = container->Controls(i);
        if ((dynamic_cast<ui::WinControl*>(&child) != nullptr) != windowed) continue;
        if (child.Visible() && Contains(child.BoundsRect(), at)) {
          hit = &child;
          break;
        }
      }
    }
    if (hit == nullptr) return found;
    at = {at.x - hit->Left(), at.y - hit->Top()};
    found = hit;
  }
}

// ---- focus and the keyboard ----

bool Win32WindowSystem::SetFocus(ui::WinControl& control) {
  HWND window = WindowOf(control);
  if (window == nullptr) return false;
  ::SetFocus(window);
  return GetFocus() == window;
}

ui::WinControl* Win32WindowSystem::Focused() { return ControlOf(GetFocus()); }

void Win32WindowSystem::FocusOnActivation(HWND window, ui::Form& form) {
  // Back to where the focus was when the form was left; the first time to
  // the first control Tab would reach, else to the form itself.
  const auto saved = savedFocus_.find(window);
  if (saved != savedFocus_.end()) {
    ui::WinControl* control = ControlOf(saved->second);
    if (control != nullptr && control->CanFocus()) {
      ::SetFocus(saved->second);
      return;
    }
  }
  std::vector<ui::WinControl*> order;
  CollectTabOrder(form, order);
  for (ui::WinControl* control : order) {
    HWND child = WindowOf(*control);
    if (child != nullptr && TakesTab(*control)) {
      ::SetFocus(child);
      return;
    }
  }
  ::SetFocus(window);
}

void Win32WindowSystem::MoveFocus(ui::Form& form, ui::WinControl* from, bool forward) {
  std::vector<ui::WinControl*> order;
  CollectTabOrder(form, order);
  const int count = static_cast<int>(order.size());
  int start = forward ? -1 : count;
  for (int i = 0; i < count; ++i) {
    if (order[static_cast<std::size_t>(i)] == from) start = i;
  }
  for (int step = 1; step <= count; ++step) {
    const int i = ((start + (forward ? step : -step)) % count + count) % count;
    ui::WinControl* candidate = order[static_cast<std::size_t>(i)];
    if (candidate != from && TakesTab(*candidate) && candidate->SetFocus()) return;
  }
}

bool Win32WindowSystem::PreTranslate(const MSG& message) {
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      ui::Form* form = FormOf(message.hwnd);
      if (form == nullptr) return false;
      const int key = static_cast<int>(message.wParam);
      const ui::ShiftState shift = KeyShift(message);
      ui::WinControl* focused = ControlOf(message.hwnd);
      if (focused != nullptr && focused->KeyDown(key, shift)) return true;
      const bool dialogKey = key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE ||
                             key == VK_SPACE || (key == VK_F4 && shift.alt);
      if (!dialogKey || WindowOf(*form) == nullptr) return false;
      if (form->OfferDialogKey(key, shift)) return true;
      if (key == VK_TAB && !shift.control && !shift.alt && WindowOf(*form) != nullptr) {
        MoveFocus(*form, Focused(), !shift.shift);
        return true;
      }
      return false;
    }
    case WM_CHAR:
    case WM_SYSCHAR: {
      ui::Form* form = FormOf(message.hwnd);
      if (form == nullptr) return false;
      ui::WinControl* focused = ControlOf(message.hwnd);
      // A control that takes characters gets them; Alt+letter stays an
      // accelerator for it too.
      if (message.message == WM_CHAR && focused != nullptr && focused->WantsChars()) return false;
      const auto unit = static_cast<char16_t>(message.wParam);
      char32_t character = unit;
      if (unit >= 0xD800 && unit < 0xDC00) {
        highSurrogate_ = unit;
        return false;
      }
      if (unit >= 0xDC00 && unit < 0xE000) {
        if (highSurrogate_ == 0) return false;
        character = 0x10000 + ((static_cast<char32_t>(highSurrogate_) - 0xD800) << 10) +
                    (static_cast<char32_t>(unit) - 0xDC00);
      }
      highSurrogate_ = 0;
      return form->OfferDialogChar(character);
    }
    default:
      return false;
  }
}

// ---- loops ----

void Win32WindowSystem::Dispatch(MSG& message) {
  try {
    if (PreTranslate(message)) return;
  } catch (...) {
    ShowException();
    return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Win32WindowSystem::RunLoop(const std::function<bool()>& done) {
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(++d) {}
    ~Depth() { --depth; }
  } depth(loopDepth_);
  while (!application_.terminated_ && !done()) {
    MSG message;
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      application_.terminated_ = true;
      if (loopDepth_ > 1) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Dispatch(message);
  }
}

void Win32WindowSystem::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      application_.terminated_ = true;
      if (loopDepth_ > 0) PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

// ---- forms ----

int Win32WindowSystem::ShowModal(ui::Form& form) {
  HWND window = WindowOf(form);
  if (window != nullptr && IsWindowVisible(window)) {
    throw std::logic_error(form.Name() + " is visible and cannot be shown modally");
  }
  HWND active = ActiveFormWindow();
  if (window == nullptr) {
    CreateFormWindow(form, active);
    window = WindowOf(form);
  } else {
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(active));
  }
  std::vector<HWND> others;
  for (const auto& [each, info] : windows_) {
    if (each != window && IsTopLevel(each) && IsWindowVisible(each) && IsWindowEnabled(each)) {
      others.push_back(each);
    }
  }
  for (HWND each : others) EnableWindow(each, FALSE);

  // Whatever ends the showing: the others come back before the form hides,
  // so that the system activates one of them and not another program.
  struct Restore {
    Win32WindowSystem& system;
    ui::Form& form;
    std::vector<HWND>& others;
    HWND active;
    ~Restore() {
      for (HWND each : others) {
        ui::WinControl* control = system.ControlOf(each);
        if (control != nullptr && control->Enabled()) EnableWindow(each, TRUE);
      }
      if (HWND window = system.WindowOf(form)) ShowWindow(window, SW_HIDE);
      if (active != nullptr && system.ControlOf(active) != nullptr) SetActiveWindow(active);
      form.SetModal(false);
    }
  } restore{*this, form, others, active};

  form.SetModal(true);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  form.Shown();
  RunLoop([&] { return form.ModalResult() != ui::mrNone || WindowOf(form) == nullptr; });
  if (form.ModalResult() == ui::mrNone) form.SetModalResult(ui::mrCancel);
  return form.ModalResult();
}

void Win32WindowSystem::Show(ui::Form& form) {
  HWND window = WindowOf(form);
  if (window == nullptr) {
    CreateFormWindow(form, nullptr);
    window = WindowOf(form);
  }
  const bool wasVisible = IsWindowVisible(window) != FALSE;
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  if (!wasVisible) form.Shown();
}

void Win32WindowSystem::Close(ui::Form& form) {
  if (HWND window = WindowOf(form)) ShowWindow(window, SW_HIDE);
  if (&form == application_.mainForm_) application_.Terminate();
}

// ---- text, boxes, resources, timers ----

ui::Size Win32WindowSystem::MeasureText(const ui::Font& font, bool bold, std::string_view text) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) throw GdiError("CreateCompatibleDC failed");
  ui::Size size;
  try {
    Canvas canvas(dc);
    ui::FontDescription description = ui::Describe(font);
    description.bold = description.bold || bold;
    canvas.SetFont(description);
    size = canvas.TextExtent(std::string(text));
  } catch (...) {
    DeleteDC(dc);
    throw;
  }
  DeleteDC(dc);
  return size;
}

void Win32WindowSystem::ShowInformation(std::string_view text) {
  MessageBoxW(ActiveFormWindow(), Wide(text).c_str(), Wide(application_.Title()).c_str(),
              MB_OK | MB_ICONINFORMATION);
}

std::optional<std::vector<std::uint8_t>> Win32WindowSystem::BitmapResource(
    const std::string& name) {
  const std::wstring wide = Wide(name);
  HRSRC found = FindResourceW(instance_, wide.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(instance_, found);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
  if (bytes == nullptr) return std::nullopt;
  return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(instance_, found));
}

int Win32WindowSystem::StartTimer(unsigned milliseconds, std::function<void()> elapsed) {
  const UINT_PTR id = nextTimer_++;
  if (::SetTimer(timerWindow_, id, milliseconds, nullptr) == 0) {
    throw std::runtime_error("SetTimer failed");
  }
  timers_[id] = std::make_shared<std::function<void()>>(std::move(elapsed));
  return static_cast<int>(id);
}

void Win32WindowSystem::StopTimer(int id) {
  const auto key = static_cast<UINT_PTR>(id);
  KillTimer(timerWindow_, key);
  timers_.erase(key);
}

void Win32WindowSystem::RunTimer(UINT_PTR id) {
  const auto it = timers_.find(id);
  if (it == timers_.end()) return;  // stopped after this tick was queued
  // Held here, so that stopping the timer inside its callback keeps the
  // callback alive until it returns.
  const std::shared_ptr<std::function<void()>> elapsed = it->second;
  (*elapsed)();
}

}  // namespace ui::win32
