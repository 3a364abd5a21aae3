// Ownership, published classes and the objects behind object properties.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/class_info.h"
#include "ui/publish.h"
#include "ui/tests/sample_classes.h"

namespace ui::testing {
namespace {

// Records its own destruction, to see the order in which an owner frees.
class Tracked : public Component {
 public:
  explicit Tracked(std::vector<std::string>& log) : log_(log) {}
  ~Tracked() override { log_.push_back(Name()); }

 private:
  std::vector<std::string>& log_;
};

TEST(Component, OwnsInOrderFindsByNameAndFreesTheNewestFirst) {
  std::vector<std::string> freed;
  {
    SampleForm form;
    for (const char* name : {"first", "second", "", "third"}) {
      form.Adopt(std::make_unique<Tracked>(freed)).SetName(name);
    }
    ASSERT_EQ(form.ComponentCount(), 4u);
    EXPECT_EQ(form.Components(0).Name(), "first");
    EXPECT_EQ(form.Components(3).Name(), "third");
    EXPECT_EQ(form.Components(1).Owner(), &form);
    EXPECT_EQ(form.FindComponent("SECOND"), &form.Components(1));
    EXPECT_EQ(form.FindComponent(""), nullptr) << "an empty name finds nothing";
    EXPECT_EQ(form.FindComponent("fourth"), nullptr);

    // Names are unique within one owner, whatever their case; "" may repeat.
    EXPECT_THROW(form.Components(3).SetName("First"), std::invalid_argument);
    EXPECT_EQ(form.Components(3).Name(), "third");
    EXPECT_NO_THROW(form.Adopt(std::make_unique<Tracked>(freed)).SetName(""));
    auto twin = std::make_unique<Tracked>(freed);
    twin->SetName("FIRST");
    EXPECT_THROW(form.Adopt(std::move(twin)), std::invalid_argument);
    freed.clear();  // the refused twin

    // A released component leaves the list and its owner.
    std::unique_ptr<Component> second = form.Release(form.Components(1));
    EXPECT_EQ(second->Owner(), nullptr);
    EXPECT_EQ(form.ComponentCount(), 4u);
  }
  EXPECT_EQ(freed, (std::vector<std::string>{"second", "", "third", "", "first"}));
}

TEST(ClassInfo, PublishesEveryKindWithItsDefault) {
  const ClassInfo& info = SampleControl::StaticClass();
  const struct {
    const char* name;
    PropertyKind kind;
    std::optional<Value> byDefault;
  } kExpected[] = {
      {"Name", PropertyKind::Text, std::nullopt},
      {"Caption", PropertyKind::Text, Value(std::string())},
      {"Width", PropertyKind::Integer, Value(std::int64_t{70})},
      {"Enabled", PropertyKind::Boolean, Value(true)},
      {"Align", PropertyKind::Enumeration, Value(std::int64_t{0})},
      {"Color", PropertyKind::Colour, Value(std::int64_t{0x80000005})},
      {"Font", PropertyKind::Object, std::nullopt},
      {"Items", PropertyKind::Object, std::nullopt},
      {"Glyph", PropertyKind::Object, std::nullopt},
      {"OnClick", PropertyKind::Event, std::nullopt},
  };
  const auto all = info.Properties();
  ASSERT_EQ(all.size(), std::size(kExpected));
  for (std::size_t i = 0; i < all.size(); ++i) {
    SCOPED_TRACE(kExpected[i].name);
    EXPECT_EQ(all[i]->name, kExpected[i].name) << "base class first, then declaration order";
    EXPECT_EQ(all[i]->kind, kExpected[i].kind);
    EXPECT_EQ(all[i]->defaultValue, kExpected[i].byDefault);
  }
  EXPECT_EQ(info.FindProperty("caption"), all[1]);
  EXPECT_EQ(info.FindProperty("Captions"), nullptr);
  EXPECT_EQ(info.FindProperty("Align")->valueNames.back(), "alClient");

  // Object properties tell their declared class; the class tree tells
  // "exactly a font" from "derived from one".
  EXPECT_EQ(info.FindProperty("Font")->objectClass, &Font::StaticClass());
  EXPECT_TRUE(info.FindProperty("Items")->objectClass->InheritsFrom(StringList::StaticClass()));
  SampleNonVisual holder;
  const PropertyInfo* heading = holder.Class().FindProperty("Heading");
  EXPECT_EQ(heading->objectClass, &Font::StaticClass());
  const ClassInfo& held = heading->object(holder)->Class();
  EXPECT_TRUE(held.InheritsFrom(Font::StaticClass()));
  EXPECT_NE(&held, &Font::StaticClass());
  EXPECT_FALSE(Font::StaticClass().InheritsFrom(held));
  EXPECT_TRUE(SamplePanel::StaticClass().InheritsFrom(Component::StaticClass()));
  EXPECT_FALSE(holder.IsVisualControl());
}

TEST(ClassInfo, AccessorsGoThroughTheSetters) {
  SampleControl control;
  const ClassInfo& info = control.Class();
  g_journal.clear();
  info.FindProperty("Caption")->set(control, std::string("Check"));
  info.FindProperty("Align")->set(control, std::int64_t{3});
  info.FindProperty("Color")->set(control, std::int64_t{0x00FFF3EF});
  EXPECT_EQ(g_journal, std::vector<std::string>{"caption  = Check"});
  EXPECT_EQ(control.Alignment(), Align::Client);
  EXPECT_EQ(info.FindProperty("Align")->get(control), Value(std::int64_t{3}));
  EXPECT_EQ(info.FindProperty("Color")->get(control), Value(std::int64_t{0x00FFF3EF}));
  EXPECT_THROW(info.FindProperty("Width")->set(control, std::int64_t{13}), std::invalid_argument);

  std::function<void(Component&)> handler = [](Component& sender) { sender.SetName("clicked"); };
  info.FindProperty("OnClick")->bind(control, "btClick", handler);
  EXPECT_EQ(info.FindProperty("OnClick")->handlerName(control), "btClick");
  control.OnClick(control);
  EXPECT_EQ(control.Name(), "clicked");
  EXPECT_THROW(info.FindProperty("OnClick")->bind(control, "wrong", std::function<void()>()),
               std::bad_any_cast);
}

TEST(ClassInfo, ANameIsPublishedOnce) {
  auto twice = [] {
    return ClassInfo("TTwice", &Component::StaticClass(),
                     Publish<SampleControl>()
                         .Text("Caption", &SampleControl::Caption, &SampleControl::SetCaption, "")
                         .Text("CAPTION", &SampleControl::Caption, &SampleControl::SetCaption, "")
                         .Done());
  };
  auto hidesBase = [] {
    return ClassInfo("THides", &Component::StaticClass(),
                     Publish<SampleControl>()
                         .Text("name", &SampleControl::Caption, &SampleControl::SetCaption, "")
                         .Done());
  };
  EXPECT_THROW(twice(), std::logic_error);
  EXPECT_THROW(hidesBase(), std::logic_error);
}

TEST(ClassInfo, ADerivedClassMayRedeclareADefault) {
  const ClassInfo derived("TDerived", &SampleControl::StaticClass(),
                          Publish<SampleControl>()
                              .Redeclare("Color", Value(std::int64_t{0x80000005}))
                              .Redeclare("Width", std::nullopt)
                              .Done());
  const auto all = derived.Properties();
  ASSERT_EQ(all.size(), SampleControl::StaticClass().Properties().size()) << "nothing added";
  EXPECT_EQ(all[5]->name, "Color") << "in its base's place";
  EXPECT_EQ(all[5]->defaultValue, Value(std::int64_t{0x80000005}));
  EXPECT_EQ(all[5]->kind, PropertyKind::Colour);
  EXPECT_EQ(derived.FindProperty("width")->defaultValue, std::nullopt) << "always stored";
  EXPECT_EQ(SampleControl::StaticClass().FindProperty("Width")->defaultValue,
            Value(std::int64_t{70}))
      << "the base keeps its own";
  SampleControl control;
  derived.FindProperty("Color")->set(control, std::int64_t{0x00ABCDEF});
  EXPECT_EQ(control.Color(), 0x00ABCDEFu) << "through the base's setter";
  EXPECT_THROW(ClassInfo("TBad", &Component::StaticClass(),
                         Publish<SampleControl>().Redeclare("Color", std::nullopt).Done()),
               std::logic_error);
}

TEST(OwnedObjects, AnnounceChangesOnlyWhenSomethingChanged) {
  Font font;
  int changes = 0;
  font.OnChange = [&] { ++changes; };
  font.SetSize(Font::kDefaultSize);
  font.SetName(Font::kDefaultName);
  EXPECT_EQ(changes, 0);
  Font other;
  other.SetStyle(Font::kBold);
  other.SetSize(10);
  font.Assign(other);
  EXPECT_EQ(changes, 1) << "one assignment, one announcement";
  EXPECT_TRUE(font == other);
  font.Assign(other);
  EXPECT_EQ(changes, 1);

  StringList list;
  int listChanges = 0;
  list.OnChange = [&] { ++listChanges; };
  list.SetLines({"a", "b"});
  list.SetLine(1, "c");
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"a", "c"}));
  EXPECT_THROW(list.SetLine(2, "x"), std::out_of_range);
  EXPECT_EQ(listChanges, 2);
}

}  // namespace
}  // namespace ui::testing
