#include "ui/tests/sample_classes.h"

#include <stdexcept>

#include "ui/class_info.h"
#include "ui/publish.h"

namespace ui::testing {

std::vector<std::string> g_journal;

const ClassInfo& SampleControl::StaticClass() {
  static const ClassInfo info(
      "TSampleControl", &Component::StaticClass(),
      Publish<SampleControl>()
          .Text("Caption", &SampleControl::Caption, &SampleControl::SetCaption, "")
          .Integer("Width", &SampleControl::Width, &SampleControl::SetWidth, 70, 0, 10000)
          .Boolean("Enabled", &SampleControl::Enabled, &SampleControl::SetEnabled, true)
          .Enumeration("Align", &SampleControl::Alignment, &SampleControl::SetAlignment,
                       {"alNone", "alTop", "alBottom", "alClient"}, Align::None)
          .Colour("Color", &SampleControl::Color, &SampleControl::SetColor, 0x80000005u)
          .Object("Font", &SampleControl::GetFont, Font::StaticClass())
          .Object("Items", &SampleControl::GetItems, StringList::StaticClass())
          .Object("Glyph", &SampleControl::GetGlyph, Bitmap::StaticClass())
          .EventOf("OnClick", &SampleControl::OnClick)
          .Done());
  return info;
}

void SampleControl::SetParentComponent(Component& parent) {
  if (!parent.Class().InheritsFrom(SamplePanel::StaticClass()) &&
      !parent.Class().InheritsFrom(SampleForm::StaticClass())) {
    throw std::invalid_argument(Name() + " cannot sit in " + parent.Name());
  }
  parent_ = &parent;
}

void SampleControl::Loaded() { g_journal.push_back("loaded " + Name()); }

void SampleControl::SetCaption(const std::string& caption) {
  g_journal.push_back("caption " + Name() + " = " + caption);
  caption_ = caption;
}

void SampleControl::SetWidth(int width) {
  if (width == 13) throw std::invalid_argument("13 is unlucky");
  width_ = width;
}

const ClassInfo& SamplePanel::StaticClass() {
  static const ClassInfo info("TSamplePanel", &SampleControl::StaticClass(), {});
  return info;
}

const ClassInfo& HeadingFont::StaticClass() {
  static const ClassInfo info("THeadingFont", &Font::StaticClass(), {});
  return info;
}

const ClassInfo& SampleNonVisual::StaticClass() {
  static const ClassInfo info(
      "TSampleNonVisual", &Component::StaticClass(),
      Publish<SampleNonVisual>()
          .Object("Heading", &SampleNonVisual::GetHeading, Font::StaticClass())
          .Done());
  return info;
}

const ClassInfo& SampleForm::StaticClass() {
  static const ClassInfo info("TSampleForm", &SampleControl::StaticClass(), {});
  return info;
}

ClassRegistry SampleClasses() {
  ClassRegistry classes;
  classes.Register<SampleControl>().Register<SamplePanel>().Register<SampleNonVisual>();
  return classes;
}

}  // namespace ui::testing
