#pragma once
// A font description owned by a control: face, size in points, character
// set, colour and style. Assigning copies; every change is announced to
// the owner (which repaints).

#include <cstdint>
#include <functional>
#include <string>

#include "ui/persistent.h"

namespace ui {

class Font : public Persistent {
 public:
  static constexpr std::uint32_t kBold = 1u << 0;
  static constexpr std::uint32_t kItalic = 1u << 1;
  static constexpr std::uint32_t kUnderline = 1u << 2;
  static constexpr std::uint32_t kStrikeOut = 1u << 3;
  // The platform's defaults for a new font.
  static constexpr const char* kDefaultName = "MS Sans Serif";
  static constexpr int kDefaultSize = 8;
  // The largest size either way: the largest pixel height a font takes, in
  // points; sizes beyond it are taken as it.
  static constexpr int kMaxSize = 7500;
  static constexpr int kDefaultCharset = 1;                  // DEFAULT_CHARSET
  static constexpr std::uint32_t kDefaultColor = 0x80000008;  // COLOR_WINDOWTEXT

  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int Size() const { return size_; }
  // Clears a pixel height set before.
  void SetSize(int size);
  // The height in pixels on a 96 dpi screen, negative for the character
  // height as GDI takes it: set through SetHeight, else derived from Size.
  // Setting it keeps Size as the nearest whole point size, and the font is
  // then drawn at exactly that pixel height.
  int Height() const;
  void SetHeight(int height);
  // The pixel height given through SetHeight; 0 when Size rules.
  int PixelHeight() const { return pixelHeight_; }
  int Charset() const { return charset_; }
  void SetCharset(int charset);
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t color);
  std::uint32_t Style() const { return style_; }
  void SetStyle(std::uint32_t style);

  // Copies every attribute of `other`; announces one change if any differed.
  void Assign(const Font& other);
  bool operator==(const Font& other) const;

  // Called after every change.
  std::function<void()> OnChange;

 private:
  void Changed() const;

  std::string name_ = kDefaultName;
  int size_ = kDefaultSize;
  int pixelHeight_ = 0;
  int charset_ = kDefaultCharset;
  std::uint32_t color_ = kDefaultColor;
  std::uint32_t style_ = 0;
};

}  // namespace ui
