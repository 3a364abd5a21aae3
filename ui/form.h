#pragma once
// A top-level window: caption, client size, frame and placement, the modal
// result, and the broadcast of dialog keys and focus changes to the
// controls it holds.

#include <cstdint>
#include <optional>
#include <string>

#include "ui/win_control.h"
#include "ui/window_system.h"

namespace ui {

enum class TFormBorderStyle : std::int32_t { bsNone, bsSingle, bsSizeable, bsDialog };
enum class TPosition : std::int32_t { poDesigned, poScreenCenter };

inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

class Form : public WinControl {
 public:
  explicit Form(WindowSystem& windows);
  ~Form() override;

  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }
  Form* ParentForm() const override { return const_cast<Form*>(this); }
  WindowSystem& System() const { return windows_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int ClientWidth() const { return clientWidth_; }
  void SetClientWidth(int width);
  int ClientHeight() const { return clientHeight_; }
  void SetClientHeight(int height);
  Rect ClientRect() const override { return {0, 0, clientWidth_, clientHeight_}; }
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }

  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  bool Modal() const { return modal_; }

  Event<void(Component&)> OnShow;

  int ShowModal();
  void Show();
  // A modal form ends with mrCancel; any other form closes.
  void Close();

  // Offers a dialog key or character to every control of the form, in
  // order, until one handles it.
  bool OfferDialogKey(int key, ShiftState shift);
  bool OfferDialogChar(char32_t character);
  // The focused control changed: every control hears of it.
  void FocusControlChanged();

  // The window system's part of showing.
  void SetModal(bool modal) { modal_ = modal; }
  virtual void Shown() { OnShow(*this); }
  // A message to the form's window, offered before the window system's own
  // handling: a result when the form handled it. Lets a form answer private
  // messages that other programs send it.
  virtual std::optional<std::intptr_t> WindowMessage(std::uint32_t /*message*/,
                                                     std::uintptr_t /*wParam*/,
                                                     std::intptr_t /*lParam*/) {
    return std::nullopt;
  }

 private:
  WindowSystem& windows_;
  std::string caption_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TPosition position_ = TPosition::poDesigned;
  int modalResult_ = mrNone;
  bool modal_ = false;
};

}  // namespace ui
