#pragma once
// Small published classes for the component model's tests: a container,
// a control with a property of every kind, and a form holding them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/bitmap.h"
#include "ui/class_registry.h"
#include "ui/component.h"
#include "ui/event.h"
#include "ui/font.h"
#include "ui/string_list.h"

namespace ui::testing {

// Everything that happened to the sample components, in order.
extern std::vector<std::string> g_journal;

enum class Align { None, Top, Bottom, Client };

class SampleControl : public Component {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }
  bool IsVisualControl() const override { return true; }
  void SetParentComponent(Component& parent) override;
  void Loaded() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int Width() const { return width_; }
  void SetWidth(int width);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  Align Alignment() const { return align_; }
  void SetAlignment(Align align) { align_ = align; }
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t color) { color_ = color; }
  Font* GetFont() { return &font_; }
  StringList* GetItems() { return &items_; }
  Bitmap* GetGlyph() { return &glyph_; }
  Component* ParentComponent() const { return parent_; }

  Event<void(Component&)> OnClick;

 private:
  std::string caption_;
  int width_ = 70;
  bool enabled_ = true;
  Align align_ = Align::None;
  std::uint32_t color_ = 0x80000005;
  Font font_;
  StringList items_;
  Bitmap glyph_;
  Component* parent_ = nullptr;
};

// A control that other controls may sit in.
class SamplePanel : public SampleControl {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }
};

// A component that is no control, with a font class of its own.
class HeadingFont : public Font {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }
};

class SampleNonVisual : public Component {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }
  HeadingFont* GetHeading() { return &heading_; }

 private:
  HeadingFont heading_;
};

class SampleForm : public SampleControl {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }
};

ClassRegistry SampleClasses();

}  // namespace ui::testing
