#pragma once
// The window system over real Win32 windows: every windowed control of a
// shown form gets a child window of one registered class (or, when it asks
// for a native kind, a window of a system class such as "BUTTON"),
// lightweight controls are painted and hit inside their parent's window,
// and one message pre-translation (keys to the focused control, dialog keys
// and accelerators round the form, Tab between controls) serves every loop.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/class_info.h"
#include "ui/control.h"
#include "ui/font_description.h"
#include "ui/form.h"
#include "ui/win32/canvas.h"
#include "ui/win_control.h"
#include "ui/window_system.h"

namespace ui::win32 {

class Application;

class Win32WindowSystem : public ui::WindowSystem {
 public:
  // Paints one control on a canvas whose origin is the control's top left.
  using Painter = std::function<void(ui::Control&, Canvas&)>;

  // How the windows of one native kind (WinControl::NativeWindowKind) are
  // made and kept in step with their controls. The system class paints its
  // window and handles its mouse; the host still gives it bounds,
  // visibility, enabled state, caption, font, focus announcements and the
  // pre-translated keys.
  class NativeKind {
   public:
    virtual ~NativeKind() = default;
    virtual const wchar_t* ClassName() const = 0;
    // The window's own styles, beside WS_CHILD and its visibility and
    // enabled state.
    virtual DWORD Style(const ui::WinControl& control) const = 0;
    virtual DWORD ExStyle(const ui::WinControl&) const { return 0; }
    // The control's window now exists.
    virtual void Created(ui::WinControl&, HWND) {}
    // The control asked for an update; the host has done its part.
    virtual void Updated(ui::WinControl&, HWND) {}
    // The window is gone (its control may be gone too, or half destroyed:
    // only the handle is given).
    virtual void Destroyed(HWND) {}
    // WM_COMMAND and WM_NOTIFY that the window sent its parent, reflected;
    // a result when handled.
    virtual std::optional<LRESULT> Command(ui::WinControl&, HWND, WORD /*code*/) {
      return std::nullopt;
    }
    virtual std::optional<LRESULT> Notify(ui::WinControl&, HWND, NMHDR&) { return std::nullopt; }
    // A message to the window itself; `system` runs the class's own
    // procedure on it.
    virtual LRESULT Message(ui::WinControl&, HWND, UINT, WPARAM, LPARAM,
                            const std::function<LRESULT()>& system) {
      return system();
    }
  };

  // The application supplies the title, the main form and the exception
  // display, and runs its loop through this system.
  explicit Win32WindowSystem(Application& application);
  ~Win32WindowSystem() override;
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

  // The painter of `cls` and of the classes derived from it that have no
  // painter of their own.
  void RegisterPainter(const ui::ClassInfo& cls, Painter painter);
  // Windows of `kind` are made as `how` says. The push button
  // (ui::kPushButtonWindow: "BUTTON", its caption, BS_DEFPUSHBUTTON for a
  // published Default that is true, BN_CLICKED clicking the control) is
  // registered from the start.
  void RegisterNativeKind(std::string_view kind, std::shared_ptr<NativeKind> how);

  // What lies behind `control` in its parent, painted into `work` whose
  // (0, 0) is the control's top left: the parent's own picture and the
  // parent's visible lightweight controls below it that overlap it. A
  // transparent control shows this as its background.
  void PaintParentImage(const ui::Control& control, Canvas& work);

  // The window of a windowed control (null before its form is shown and
  // for lightweight controls), and the control of one of our windows.
  HWND WindowOf(const ui::Control& control) const;
  ui::WinControl* ControlOf(HWND window) const;

  // Handles one message as every loop does: the pre-translation, then
  // TranslateMessage and DispatchMessage.
  void Dispatch(MSG& message);
  // Runs the message loop until `done` answers true or the application is
  // terminating. A WM_QUIT ends it and marks the application terminated;
  // it is posted again when an enclosing loop still has to see it.
  void RunLoop(const std::function<bool()>& done);

  // ui::WindowSystem
  void Invalidate(ui::Control& control) override;
  void Update(ui::Control& control) override;
  void Removed(ui::Control& control) override;
  void SetCapture(ui::WinControl& control) override;
  void ReleaseCapture() override;
  ui::WinControl* Captured() override;
  bool SetFocus(ui::WinControl& control) override;
  ui::WinControl* Focused() override;
  ui::Point ClientToScreen(const ui::Control& control, ui::Point point) override;
  ui::Control* ControlAtScreen(ui::Point point) override;
  void ProcessMessages() override;
  int ShowModal(ui::Form& form) override;
  void Show(ui::Form& form) override;
  void Close(ui::Form& form) override;
  ui::Size MeasureText(const ui::Font& font, bool bold, std::string_view text) override;
  void ShowInformation(std::string_view text) override;
  std::optional<std::vector<std::uint8_t>> BitmapResource(const std::string& name) override;
  int StartTimer(unsigned milliseconds, std::function<void()> elapsed) override;
  void StopTimer(int id) override;

 private:
  struct Window {
    ui::WinControl* control = nullptr;
    // What was last given to the window, so that an update touches only
    // what changed (a form disabled by a modal one stays disabled).
    bool enabled = true;
    bool visible = true;
    std::wstring text;
  };
  // A left press on a lightweight control: until the release, the mouse
  // messages of `window` go to `control`.
  struct LightPress {
    HWND window = nullptr;
    ui::Control* control = nullptr;
  };

  // A window of a native kind: how it is kept, the procedure of its class
  // (ours replaces it), and the font it was given.
  struct Native {
    std::shared_ptr<NativeKind> kind;
    WNDPROC system = nullptr;
    HFONT font = nullptr;
    ui::FontDescription fontMadeFrom;
  };

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK NativeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleNative(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The kind and control of a native window that still has its control;
  // none for any other window.
  std::pair<std::shared_ptr<NativeKind>, ui::WinControl*> NativeChild(HWND window) const;
  void FocusArrived(ui::WinControl& control);
  void FocusLeft(ui::WinControl& control, HWND to);
  void HandleMouse(HWND window, ui::WinControl& control, UINT message, WPARAM wParam,
                   LPARAM lParam);
  void Paint(HWND window, ui::WinControl& control);
  // Paints `control` and its lightweight children (those before `stopAt`
  // and overlapping `within` only, when given) on `canvas`, with the
  // control's top left at `origin`.
  void PaintContent(ui::WinControl& control, Canvas& canvas, ui::Point origin,
                    const ui::Control* stopAt, const ui::Rect* within);
  const Painter* FindPainter(const ui::ClassInfo& cls) const;
  bool PreTranslate(const MSG& message);
  void MoveFocus(ui::Form& form, ui::WinControl* from, bool forward);
  void FocusOnActivation(HWND window, ui::Form& form);
  void SetCursorFor(HWND window, ui::WinControl& control);
  void RunTimer(UINT_PTR id);

  void CreateFormWindow(ui::Form& form, HWND owner);
  HWND CreateChildWindow(ui::WinControl& control, HWND parent);
  HWND CreateNativeWindow(ui::WinControl& control, HWND parent, DWORD style,
                          const std::wstring& text);
  // Gives a native window its control's font when that changed.
  void ApplyFont(HWND window, const ui::Control& control);
  void CreateChildren(ui::WinControl& control, HWND window);
  void Map(HWND window, ui::WinControl& control);
  void Forget(HWND window);
  // What an update changes of a window beside its bounds.
  struct Changes {
    std::optional<bool> visible;
    std::optional<bool> enabled;
    std::optional<std::wstring> text;
  };
  Changes NoteChanges(HWND window, const ui::Control& control);
  void UpdateForm(HWND window, ui::Form& form);
  void UpdateChild(HWND window, ui::WinControl& control);
  void SyncFormBounds(HWND window, ui::Form& form);
  void PlaceInZOrder(HWND window, ui::WinControl& control);
  // Destroys `window` and those inside it, after forgetting them all, so
  // that no message of the destruction reaches a control.
  void DestroyTree(HWND window);

  ui::Form* FormOf(HWND window) const;
  HWND ActiveFormWindow() const;
  ui::Control* LightweightAt(ui::WinControl& parent, ui::Point at) const;
  void ShowException();

  Application& application_;
  HINSTANCE instance_;
  HWND timerWindow_ = nullptr;
  std::unordered_map<HWND, Window> windows_;
  std::unordered_map<const ui::Control*, HWND> handles_;
  std::unordered_map<const ui::ClassInfo*, Painter> painters_;
  std::unordered_map<std::string, std::shared_ptr<NativeKind>> nativeKinds_;
  // Kept from creation to WM_NCDESTROY, beyond the forgetting of the window.
  std::unordered_map<HWND, Native> natives_;
  // Per form window: the control that had the focus when it was last
  // deactivated, given the focus again on activation.
  std::unordered_map<HWND, HWND> savedFocus_;
  std::unordered_map<UINT_PTR, std::shared_ptr<std::function<void()>>> timers_;
  UINT_PTR nextTimer_ = 1;
  LightPress lightPress_;
  // The first half of a character outside the BMP, until the second comes.
  char16_t highSurrogate_ = 0;
  // Set while the system writes a form's real bounds back into the form,
  // whose setters then ask for an update that must not move the window.
  bool syncing_ = false;
  int loopDepth_ = 0;
};

}  // namespace ui::win32
