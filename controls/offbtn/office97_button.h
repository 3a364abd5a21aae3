#pragma once
// TOffice97Button: the owner-drawn flat push button. Its behaviour lives
// here, portable: properties and their setters, the presets of the five
// kinds and two looks, hover and press states, the keys that click it, the
// click, and the automatic height. Painting is the Win32 painter's
// (controls/offbtn/win32/).

#include <array>
#include <map>
#include <string>

#include "controls/offbtn/offbtn_layout.h"
#include "controls/offbtn/offbtn_state.h"
#include "controls/offbtn/offbtn_types.h"
#include "ui/bitmap.h"
#include "ui/font.h"
#include "ui/win_control.h"

namespace controls {

class TOffice97Button : public ui::WinControl {
 public:
  TOffice97Button();

  static const ui::ClassInfo& StaticClass();
  const ui::ClassInfo& Class() const override { return StaticClass(); }

  bool Office2000Look() const { return office2000Look_; }
  void SetOffice2000Look(bool on);
  TOffBtnAbout About() const { return TOffBtnAbout::abNone; }
  void SetAbout(TOffBtnAbout about);
  ui::Colour ActiveColor() const { return activeColor_; }
  void SetActiveColor(ui::Colour colour) { Store(activeColor_, colour); }
  ui::Colour ActiveOutlineColor() const { return activeOutlineColor_; }
  void SetActiveOutlineColor(ui::Colour colour) { Store(activeOutlineColor_, colour); }
  ui::Colour ActiveOutlineColor2() const { return activeOutlineColor2_; }
  void SetActiveOutlineColor2(ui::Colour colour) { Store(activeOutlineColor2_, colour); }
  ui::Colour InactiveColor() const { return inactiveColor_; }
  void SetInactiveColor(ui::Colour colour) { Store(inactiveColor_, colour); }
  ui::Colour TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(ui::Colour colour) { Store(transparentColor_, colour); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on) { Store(transparent_, on); }
  bool AutoTransparency() const { return autoTransparency_; }
  void SetAutoTransparency(bool on) { Store(autoTransparency_, on); }
  bool AutoHeight() const { return autoHeight_; }
  void SetAutoHeight(bool on);
  bool ShowGlyph() const { return showGlyph_; }
  void SetShowGlyph(bool on) { StoreAndFit(showGlyph_, on); }
  bool UseCustomGlyphs() const { return useCustomGlyphs_; }
  void SetUseCustomGlyphs(bool on) { StoreAndFit(useCustomGlyphs_, on); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on) { StoreAndFit(wordWrap_, on); }
  TGlyphPosition Position() const { return position_; }
  void SetPosition(TGlyphPosition position);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TOffBtnType ControlType() const { return controlType_; }
  void SetControlType(TOffBtnType type);
  bool Default() const { return default_; }
  void SetDefault(bool on);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool on) { cancel_ = on; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  int FontSize() const { return fontSize_; }
  void SetFontSize(int size);
  // The owned glyphs and hover font; the setters copy into them.
  ui::Bitmap* ActiveGlyph() { return &activeGlyph_; }
  ui::Bitmap* DownActiveGlyph() { return &downActiveGlyph_; }
  ui::Bitmap* InactiveGlyph() { return &inactiveGlyph_; }
  ui::Bitmap* DisabledGlyph() { return &disabledGlyph_; }
  void SetActiveGlyph(const ui::Bitmap& glyph) { activeGlyph_.Assign(glyph); }
  void SetDownActiveGlyph(const ui::Bitmap& glyph) { downActiveGlyph_.Assign(glyph); }
  void SetInactiveGlyph(const ui::Bitmap& glyph) { inactiveGlyph_.Assign(glyph); }
  void SetDisabledGlyph(const ui::Bitmap& glyph) { disabledGlyph_.Assign(glyph); }
  ui::Font* HoverFont() { return &hoverFont_; }
  void SetHoverFont(const ui::Font& font) { hoverFont_.Assign(font); }

  ui::Event<void(ui::Component&)> OnMouseEnter;
  ui::Event<void(ui::Component&)> OnMouseExit;

  TOffBtnState State() const { return state_; }
  bool KeyActive() const { return keyActive_; }
  // The popup menu whose right press puts the button at rest (none yet).
  void SetPopupMenu(ui::Component* menu) { popupMenu_ = menu; }

  // The glyph for the present state, as the painter draws it and the
  // automatic height measures it: `bitmap` (empty when there is none), or
  // the emboss of the inactive glyph when `embossInactive`.
  struct Glyph {
    const ui::Bitmap* bitmap = nullptr;
    bool embossInactive = false;
  };
  Glyph CurrentGlyph();
  // The four built-in glyph resources of the present kind and look:
  // active, disabled, down, inactive.
  const std::array<std::string, 4>& StockGlyphNames() const { return stock_; }
  // The button's geometry as the layout takes it, with this glyph size.
  OffBtnLayoutInput LayoutInput(int glyphWidth, int glyphHeight) const;
  void AdjustHeight();

  void Click() override;
  void Loaded() override;
  void WindowCreated() override { keyActive_ = default_; }
  void MouseDown(ui::TMouseButton button, ui::ShiftState shift, ui::Point at) override;
  void MouseMove(ui::ShiftState shift, ui::Point at) override;
  void MouseUp(ui::TMouseButton button, ui::ShiftState shift, ui::Point at) override;
  void FocusGained() override;
  void FocusLost() override;
  bool KeyDown(int key, ui::ShiftState shift) override;
  bool DialogKey(int key, ui::ShiftState shift) override;
  bool DialogChar(char32_t character) override;
  void FocusChanged() override { Invalidate(); }

 private:
  template <class T>
  void Store(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  template <class T>
  void StoreAndFit(T& field, T value) {
    if (field == value) return;
    field = value;
    Fit();
  }
  // After a change of what the height follows: AdjustHeight when automatic, repaint.
  void Fit();
  void LoadStockSet();
  const ui::Bitmap* StockGlyph(int index);
  bool PointerOver(ui::Point at) const;
  void Apply(const StateStep& step);
  void KeyboardClick();

  bool office2000Look_ = true;
  ui::Colour activeColor_ = 0x00808080;
  ui::Colour activeOutlineColor_ = 0x00FFFFFF;
  ui::Colour activeOutlineColor2_ = 0x00D6E7E7;
  ui::Colour inactiveColor_ = 0x00C0C0C0;
  ui::Colour transparentColor_ = 0;
  bool transparent_ = false;
  bool autoTransparency_ = true;
  bool autoHeight_ = false;
  bool showGlyph_ = false;
  bool useCustomGlyphs_ = false;
  bool wordWrap_ = true;
  TGlyphPosition position_ = TGlyphPosition::bsLeft;
  std::string caption_;
  TOffBtnType controlType_ = TOffBtnType::bsButton;
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
  int fontSize_ = 8;
  ui::Bitmap activeGlyph_;
  ui::Bitmap downActiveGlyph_;
  ui::Bitmap inactiveGlyph_;
  ui::Bitmap disabledGlyph_;
  ui::Font hoverFont_;

  TOffBtnState state_ = TOffBtnState::bsInactive;
  bool keyActive_ = false;
  bool keyboardClick_ = false;
  ui::Component* popupMenu_ = nullptr;
  std::array<std::string, 4> stock_;
  std::map<std::string, ui::Bitmap> stockCache_;
};

}  // namespace controls
