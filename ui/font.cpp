#include "ui/font.h"

#include <algorithm>

#include "ui/class_info.h"
#include "ui/publish.h"

namespace ui {
namespace {

// Points and pixels of a 96 dpi screen, rounded half away from zero.
constexpr int kScreenDpi = 96;
constexpr int kPointsPerInch = 72;

constexpr int Rounded(int numerator, int denominator) {
  const int half = denominator / 2;
  return numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
}

constexpr int PointsToPixels(int points) { return -Rounded(points * kScreenDpi, kPointsPerInch); }

}  // namespace

const ClassInfo& Font::StaticClass() {
  static const ClassInfo info(
      "TFont", nullptr,
      Publish<Font>()
          .Text("Name", &Font::Name, &Font::SetName, std::string(kDefaultName))
          .Integer("Size", &Font::Size, &Font::SetSize, kDefaultSize, -kMaxSize, kMaxSize)
          .Integer("Height", &Font::Height, &Font::SetHeight, PointsToPixels(kDefaultSize),
                   -10000, 10000)
          .Integer("Charset", &Font::Charset, &Font::SetCharset, kDefaultCharset, 0, 255)
          .Colour("Color", &Font::Color, &Font::SetColor, kDefaultColor)
          .Set("Style", &Font::Style, &Font::SetStyle,
               {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, 0u)
          .Done());
  return info;
}

void Font::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

void Font::SetSize(int size) {
  size = std::clamp(size, -kMaxSize, kMaxSize);
  if (size == size_ && pixelHeight_ == 0) return;
  size_ = size;
  pixelHeight_ = 0;
  Changed();
}

int Font::Height() const { return pixelHeight_ != 0 ? pixelHeight_ : PointsToPixels(size_); }

void Font::SetHeight(int height) {
  if (height == Height()) return;
  pixelHeight_ = height;
  size_ = Rounded((height < 0 ? -height : height) * kPointsPerInch, kScreenDpi);
  Changed();
}

void Font::SetCharset(int charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void Font::SetColor(std::uint32_t color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void Font::SetStyle(std::uint32_t style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void Font::Assign(const Font& other) {
  if (*this == other) return;
  name_ = other.name_;
  size_ = other.size_;
  pixelHeight_ = other.pixelHeight_;
  charset_ = other.charset_;
  color_ = other.color_;
  style_ = other.style_;
  Changed();
}

bool Font::operator==(const Font& other) const {
  return name_ == other.name_ && size_ == other.size_ && pixelHeight_ == other.pixelHeight_ && charset_ == other.charset_ &&
         color_ == other.color_ && style_ == other.style_;
}

void Font::Changed() const {
  if (OnChange) OnChange();
}

}  // namespace ui
