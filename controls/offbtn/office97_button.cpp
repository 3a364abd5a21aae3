#include "controls/offbtn/office97_button.h"

#include "controls/offbtn/offbtn_keys.h"
#include "ui/class_info.h"
#include "ui/form.h"
#include "ui/publish.h"
#include "ui/window_system.h"

namespace controls {
namespace {

constexpr ui::Colour kOffice2000Face = 0x00CCFFFF;
constexpr ui::Colour kOffice97Face = 0x00E1FFFF;
constexpr ui::Colour kFrameGrey = 0x00808080;
constexpr ui::Colour kWhite = 0x00FFFFFF;
constexpr ui::Colour kOuterFrame = 0x00D6E7E7;
constexpr ui::Colour kInactiveGrey = 0x00C0C0C0;

// The first of the four built-in glyph resources of a kind and look.
int FirstStockGlyph(TOffBtnType type, bool office2000Look) {
  switch (type) {
    case TOffBtnType::bsButton: return 1;
    case TOffBtnType::bsRadioButton: return office2000Look ? 17 : 5;
    case TOffBtnType::bsUpButton: return 9;
    case TOffBtnType::bsDownButton: return 13;
    case TOffBtnType::bsHintButton: return 21;
  }
  return 1;
}

bool LeftOrRight(TGlyphPosition position) {
  return position == TGlyphPosition::bsLeft || position == TGlyphPosition::bsRight;
}

}  // namespace

const ui::ClassInfo& TOffice97Button::StaticClass() {
  using B = TOffice97Button;
  static const ui::ClassInfo info(
      "TOffice97Button", &ui::WinControl::StaticClass(),
      ui::Publish<B>()
          .Boolean("Office2000Look", &B::Office2000Look, &B::SetOffice2000Look, true)
          .Enumeration("About", &B::About, &B::SetAbout, {"abNone", "abAbout"},
                       TOffBtnAbout::abNone)
          .Colour("ActiveColor", &B::ActiveColor, &B::SetActiveColor, kFrameGrey)
          .Colour("ActiveOutlineColor", &B::ActiveOutlineColor, &B::SetActiveOutlineColor, kWhite)
          .Colour("ActiveOutlineColor2", &B::ActiveOutlineColor2, &B::SetActiveOutlineColor2,
                  kOuterFrame)
          .Boolean("AutoHeight", &B::AutoHeight, &B::SetAutoHeight, false)
          .Boolean("AutoTransparency", &B::AutoTransparency, &B::SetAutoTransparency, true)
          .Boolean("Cancel", &B::Cancel, &B::SetCancel, false)
          .Text("Caption", &B::Caption, &B::SetCaption, std::string())
          // Stored unless it is the window colour, whatever a new button starts with.
          .Redeclare("Color", ui::Value(std::int64_t{ui::kColourWindow}))
          .Enumeration("ControlType", &B::ControlType, &B::SetControlType,
                       {"bsButton", "bsRadioButton", "bsUpButton", "bsDownButton", "bsHintButton"},
                       TOffBtnType::bsButton)
          .Boolean("Default", &B::Default, &B::SetDefault, false)
          .Object("ActiveGlyph", &B::ActiveGlyph, ui::Bitmap::StaticClass())
          .Object("DownActiveGlyph", &B::DownActiveGlyph, ui::Bitmap::StaticClass())
          .Object("InactiveGlyph", &B::InactiveGlyph, ui::Bitmap::StaticClass())
          .Object("DisabledGlyph", &B::DisabledGlyph, ui::Bitmap::StaticClass())
          .Object("HoverFont", &B::HoverFont, ui::Font::StaticClass())
          .Colour("InactiveColor", &B::InactiveColor, &B::SetInactiveColor, kInactiveGrey)
          .Integer("ModalResult", &B::ModalResult, &B::SetModalResult, 0)
          .Enumeration("Position", &B::Position, &B::SetPosition,
                       {"bsTop", "bsBottom", "bsLeft", "bsRight", "bsCenter"},
                       TGlyphPosition::bsLeft)
          .Boolean("ShowGlyph", &B::ShowGlyph, &B::SetShowGlyph, false)
          .Boolean("Transparent", &B::Transparent, &B::SetTransparent, false)
          .Colour("TransparentColor", &B::TransparentColor, &B::SetTransparentColor, 0u)
          .Boolean("UseCustomGlyphs", &B::UseCustomGlyphs, &B::SetUseCustomGlyphs, false)
          .Boolean("WordWrap", &B::WordWrap, &B::SetWordWrap, true)
          .Integer("FontSize", &B::FontSize, &B::SetFontSize, std::nullopt)
          .Redeclare("TabStop", ui::Value(true))
          .EventOf("OnMouseEnter", &B::OnMouseEnter)
          .EventOf("OnMouseExit", &B::OnMouseExit)
          .Done());
  return info;
}

TOffice97Button::TOffice97Button() {
  SetBounds(0, 0, 70, 23);
  SetColor(kOffice2000Face);
  SetTabStop(true);
  LoadStockSet();
  // A glyph or hover font changed through the object itself counts as set
  // through the property: the same height adjustment and repaint follow.
  for (ui::Bitmap* glyph : {&activeGlyph_, &downActiveGlyph_, &inactiveGlyph_, &disabledGlyph_}) {
    glyph->OnChange = [this] { Fit(); };
  }
  hoverFont_.OnChange = [this] { Invalidate(); };
}

void TOffice97Button::Fit() {
  if (autoHeight_) AdjustHeight();
  Invalidate();
}

void TOffice97Button::SetOffice2000Look(bool on) {
  if (on == office2000Look_) return;
  office2000Look_ = on;
  activeColor_ = kFrameGrey;
  activeOutlineColor_ = kWhite;
  inactiveColor_ = kInactiveGrey;
  if (on) {
    activeOutlineColor2_ = kOuterFrame;
    SetColor(kOffice2000Face);
    if (controlType_ == TOffBtnType::bsButton) showGlyph_ = false;
  } else {
    state_ = TOffBtnState::bsInactive;
    SetColor(kOffice97Face);
    showGlyph_ = true;
  }
  if (controlType_ == TOffBtnType::bsRadioButton) LoadStockSet();
  Invalidate();
}

void TOffice97Button::SetAbout(TOffBtnAbout about) {
  if (about != TOffBtnAbout::abAbout) return;
  if (ui::WindowSystem* windows = Windows()) {
    windows->ShowInformation("TOffice97Button 1.0\nA flat push button of Quorvex Remover.");
  }
  Invalidate();
}

void TOffice97Button::SetAutoHeight(bool on) {
  if (on == autoHeight_) return;
  autoHeight_ = on;
  Fit();
}

void TOffice97Button::SetPosition(TGlyphPosition position) {
  if (position == position_) return;
  // The small-glyph kinds have their glyph above or below the caption only.
  if (controlType_ != TOffBtnType::bsButton && LeftOrRight(position)) {
    position = TGlyphPosition::bsTop;
  }
  position_ = position;
  Fit();
}

void TOffice97Button::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Fit();
}

void TOffice97Button::SetControlType(TOffBtnType type) {
  if (type == controlType_) return;
  controlType_ = type;
  LoadStockSet();
  if (type != TOffBtnType::bsButton && LeftOrRight(position_)) position_ = TGlyphPosition::bsTop;
  if (autoHeight_) AdjustHeight();
  SetShowGlyph(!(office2000Look_ && type == TOffBtnType::bsButton));
  Invalidate();
}

void TOffice97Button::SetDefault(bool on) {
  default_ = on;
  // Every control of the form repaints its focus and default look.
  if (ui::Form* form = ParentForm()) form->FocusControlChanged();
}

void TOffice97Button::SetFontSize(int size) {
  fontSize_ = size;
  GetFont()->SetSize(size);
  hoverFont_.SetSize(size);
}

void TOffice97Button::Loaded() {
  GetFont()->SetSize(fontSize_);
  hoverFont_.SetSize(fontSize_);
}

void TOffice97Button::LoadStockSet() {
  const int first = FirstStockGlyph(controlType_, office2000Look_);
  for (int i = 0; i < 4; ++i) stock_[i] = "OFFICE_" + std::to_string(first + i);
}

const ui::Bitmap* TOffice97Button::StockGlyph(int index) {
  const std::string& name = stock_[static_cast<std::size_t>(index)];
  auto it = stockCache_.find(name);
  if (it == stockCache_.end()) {
    ui::WindowSystem* windows = Windows();
    if (!windows) return nullptr;
    ui::Bitmap loaded;
    if (const auto bytes = windows->BitmapResource(name)) loaded.LoadFromResource(*bytes);
    it = stockCache_.emplace(name, std::move(loaded)).first;
  }
  return &it->second;
}

TOffice97Button::Glyph TOffice97Button::CurrentGlyph() {
  enum { kActive, kDisabled, kDown, kInactive };
  const bool active = state_ == TOffBtnState::bsActive;
  const bool down = state_ == TOffBtnState::bsDown;
  if (!useCustomGlyphs_) {
    const int index = !Enabled() ? kDisabled : active ? kActive : down ? kDown : kInactive;
    return {StockGlyph(index), false};
  }
  if (!Enabled()) {
    if (!disabledGlyph_.Empty()) return {&disabledGlyph_, false};
    return {&inactiveGlyph_, true};
  }
  if (active && !activeGlyph_.Empty()) return {&activeGlyph_, false};
  if (down && !downActiveGlyph_.Empty()) return {&downActiveGlyph_, false};
  return {&inactiveGlyph_, false};
}

OffBtnLayoutInput TOffice97Button::LayoutInput(int glyphWidth, int glyphHeight) const {
  OffBtnLayoutInput input;
  input.Width = Width();
  input.Height = Height();
  input.ControlType = controlType_;
  input.Position = position_;
  input.ShowGlyph = showGlyph_;
  input.WordWrap = wordWrap_;
  input.State = state_;
  input.Caption = caption_;
  input.GlyphWidth = glyphWidth;
  input.GlyphHeight = glyphHeight;
  return input;
}

void TOffice97Button::AdjustHeight() {
  // Measuring needs the window system's text metrics.
  ui::WindowSystem* windows = Windows();
  if (!windows) return;
  const Glyph glyph = CurrentGlyph();
  const int gw = glyph.bitmap ? glyph.bitmap->Width() : 0;
  const int gh = glyph.bitmap ? glyph.bitmap->Height() : 0;
  const ui::Font& font = FontOf();
  const MeasureText measure = [windows, &font](std::string_view text) {
    const ui::Size size = windows->MeasureText(font, false, text);
    return TextSize{size.width, size.height};
  };
  SetHeight(controls::AdjustHeight(LayoutInput(gw, gh), measure));
}

bool TOffice97Button::PointerOver(ui::Point at) const {
  ui::WindowSystem* windows = Windows();
  return windows && windows->ControlAtScreen(windows->ClientToScreen(*this, at)) == this;
}

void TOffice97Button::Apply(const StateStep& step) {
  state_ = step.State;
  if (step.MouseEnter) OnMouseEnter(*this);
  if (step.MouseExit) OnMouseExit(*this);
  if (ui::WindowSystem* windows = Windows()) {
    if (step.MouseCapture == StateStep::Capture::Take) windows->SetCapture(*this);
    if (step.MouseCapture == StateStep::Capture::Release && windows->Captured() == this) {
      windows->ReleaseCapture();
    }
  }
  if (step.Repaint) Invalidate();
}

void TOffice97Button::MouseDown(ui::TMouseButton button, ui::ShiftState shift, ui::Point at) {
  if (button == ui::TMouseButton::mbLeft && !Focused()) {
    // A press first brings the focus here; a window that refuses it keeps
    // the press from counting.
    SetFocus();
    if (!Focused()) return;
  }
  WinControl::MouseDown(button, shift, at);
  if (button == ui::TMouseButton::mbLeft) Apply(LeftPressStep(state_, PointerOver(at)));
  if (button == ui::TMouseButton::mbRight) {
    Apply(RightPressStep(state_, PointerOver(at), popupMenu_ != nullptr));
  }
}

void TOffice97Button::MouseMove(ui::ShiftState shift, ui::Point at) {
  WinControl::MouseMove(shift, at);
  Apply(MouseMoveStep(state_, PointerOver(at)));
}

void TOffice97Button::MouseUp(ui::TMouseButton button, ui::ShiftState shift, ui::Point at) {
  WinControl::MouseUp(button, shift, at);
  if (button == ui::TMouseButton::mbLeft) {
    Apply(LeftReleaseStep(state_, PointerOver(at), modalResult_));
  }
}

void TOffice97Button::FocusGained() {
  WinControl::FocusGained();
  state_ = TOffBtnState::bsActive;
  keyActive_ = true;
  Invalidate();
}

void TOffice97Button::FocusLost() {
  ui::WindowSystem* windows = Windows();
  if (windows && windows->Captured() == this) windows->ReleaseCapture();
  WinControl::FocusLost();
  state_ = TOffBtnState::bsInactive;
  keyActive_ = false;
  Invalidate();
}

bool TOffice97Button::KeyDown(int key, ui::ShiftState shift) {
  if (KeyDownClicks(key, keyActive_)) {
    KeyboardClick();
    return true;
  }
  return WinControl::KeyDown(key, shift);
}

bool TOffice97Button::DialogKey(int key, ui::ShiftState shift) {
  switch (controls::DialogKey(key, shift, keyActive_, cancel_, CanFocus())) {
    case DialogKeyAnswer::KeyboardClick:
      KeyboardClick();
      return true;
    case DialogKeyAnswer::RestAndPassOn:
      state_ = TOffBtnState::bsInactive;
      if (ui::WindowSystem* windows = Windows(); windows && windows->Captured() == this) {
        windows->ReleaseCapture();
      }
      break;
    case DialogKeyAnswer::PassOn:
      break;
  }
  return WinControl::DialogKey(key, shift);
}

bool TOffice97Button::DialogChar(char32_t character) {
  if (IsAccelerator(character, caption_) && CanFocus()) {
    KeyboardClick();
    return true;
  }
  return WinControl::DialogChar(character);
}

void TOffice97Button::KeyboardClick() {
  keyboardClick_ = true;
  Click();
  if (modalResult_ != 0) {
    if (ui::WindowSystem* windows = Windows(); windows && windows->Captured() == this) {
      windows->ReleaseCapture();
    }
  }
}

void TOffice97Button::Click() {
  ui::WindowSystem* windows = Windows();
  const TOffBtnState remembered = state_;
  if (keyboardClick_) {
    state_ = TOffBtnState::bsDown;
    if (state_ != remembered) {
      // Shown at once: the pressed look must be seen before the click runs.
      Invalidate();
      if (windows) windows->ProcessMessages();
    }
  }
  ui::Form* form = ParentForm();
  if (form) {
    for (std::size_t i = 0; i < form->ComponentCount(); ++i) {
      auto* other = dynamic_cast<TOffice97Button*>(&form->Components(i));
      if (!other || other == this) continue;
      other->state_ = TOffBtnState::bsInactive;
      other->Invalidate();
    }
    form->SetModalResult(modalResult_);
  }
  if (keyboardClick_ || state_ != remembered) {
    state_ = remembered;
    Invalidate();
    if (windows) windows->ProcessMessages();
  }
  keyboardClick_ = false;
  WinControl::Click();
}

}  // namespace controls
