#include "ui/form_reader.h"

#include <exception>
#include <memory>
#include <typeinfo>

#include "ui/bitmap.h"
#include "ui/class_info.h"
#include "ui/form_error.h"
#include "ui/form_text.h"
#include "ui/string_list.h"

namespace ui {
namespace {

class Reader {
 public:
  Reader(Component& root, std::string_view form, const FormEnvironment& environment)
      : root_(root), form_(form), environment_(environment) {}

  void Read(const FormObject& object) {
    if (object.className != root_.Class().Name()) {
      Fail(object.line, "the form is a " + root_.Class().Name() + ", not a " + object.className);
    }
    try {
      Named(root_, object);
      ApplyAll(root_, object);
      for (Component* component : created_) component->Loaded();
      root_.Loaded();
    } catch (...) {
      // Nothing half-built stays behind: the newest go first.
      for (auto it = created_.rbegin(); it != created_.rend(); ++it) root_.Release(**it);
      throw;
    }
  }

 private:
  void ApplyAll(Component& component, const FormObject& object) {
    for (const FormProperty& property : object.properties) Apply(component, property);
    for (const FormObject& child : object.children) Create(component, child);
  }

  void Create(Component& parent, const FormObject& object) {
    if (!environment_.classes.Find(object.className)) {
      Fail(object.line, "unknown class " + object.className);
    }
    Component& component = root_.Adopt(environment_.classes.Create(object.className));
    created_.push_back(&component);
    Named(component, object);
    Guard(object.line, [&] { component.SetParentComponent(parent); });
    ApplyAll(component, object);
  }

  void Named(Component& component, const FormObject& object) {
    Guard(object.line, [&] { component.SetName(object.name); });
  }

  void Apply(Persistent& target, const FormProperty& property) {
    Persistent* owner = &target;
    const PropertyInfo* info = nullptr;
    for (std::size_t i = 0; i < property.path.size(); ++i) {
      info = owner->Class().FindProperty(property.path[i]);
      if (!info) {
        Fail(property.line, "unknown property " + property.path[i] + " of " + owner->Class().Name());
      }
      if (i + 1 == property.path.size()) break;
      if (info->kind != PropertyKind::Object) {
        Fail(property.line, property.path[i] + " holds no properties of its own");
      }
      owner = info->object(*owner);
      if (!owner) Fail(property.line, property.path[i] + " holds no object");
    }
    Guard(property.line, [&] { Assign(*owner, *info, property); });
  }

  void Assign(Persistent& target, const PropertyInfo& info, const FormProperty& property) {
    const FormValue& v = property.value;
    const int line = property.line;
    switch (info.kind) {
      case PropertyKind::Text:
        Want(v.type == FormValue::Type::Text, line, info, "a quoted text");
        info.set(target, v.text);
        return;
      case PropertyKind::Integer:
        Want(v.type == FormValue::Type::Integer, line, info, "an integer");
        if (v.number < info.minimum || v.number > info.maximum) {
          Fail(line, info.name + " takes " + std::to_string(info.minimum) + " to " +
                         std::to_string(info.maximum));
        }
        info.set(target, v.number);
        return;
      case PropertyKind::Boolean:
        Want(v.type == FormValue::Type::Identifier && (v.text == "true" || v.text == "false"), line,
             info, "true or false");
        info.set(target, v.text == "true");
        return;
      case PropertyKind::Enumeration:
        Want(v.type == FormValue::Type::Identifier, line, info, "a value name");
        info.set(target, std::int64_t{IndexOf(info, v.text, line)});
        return;
      case PropertyKind::Set: {
        Want(v.type == FormValue::Type::List && !v.listOfText, line, info, "a set [name, ...]");
        std::int64_t bits = 0;
        for (const std::string& item : v.items) bits |= std::int64_t{1} << IndexOf(info, item, line);
        info.set(target, bits);
        return;
      }
      case PropertyKind::Colour:
        Want(v.type == FormValue::Type::Colour ||
                 (v.type == FormValue::Type::Integer && v.number >= 0 && v.number <= 0xFFFFFFFF),
             line, info, "a colour #RRGGBB or a colour value");
        info.set(target, v.number);
        return;
      case PropertyKind::Object:
        AssignObject(target, info, v, line);
        return;
      case PropertyKind::Event: {
        Want(v.type == FormValue::Type::Identifier, line, info, "the name of a handler");
        const std::any handler = environment_.handler ? environment_.handler(v.text) : std::any();
        if (!handler.has_value()) Fail(line, "the form has no handler " + v.text);
        try {
          info.bind(target, v.text, handler);
        } catch (const std::bad_any_cast&) {
          Fail(line, "handler " + v.text + " does not fit event " + info.name);
        }
        return;
      }
    }
  }

  void AssignObject(Persistent& target, const PropertyInfo& info, const FormValue& v, int line) {
    Persistent* object = info.object(target);
    if (!object) Fail(line, info.name + " holds no object");
    if (object->Class().InheritsFrom(StringList::StaticClass())) {
      Want(v.type == FormValue::Type::List && (v.listOfText || v.items.empty()), line, info,
           "a list [\"line\", ...]");
      static_cast<StringList*>(object)->SetLines(v.items);
      return;
    }
    if (object->Class().InheritsFrom(Bitmap::StaticClass())) {
      Want(v.type == FormValue::Type::Bitmap, line, info, "bitmap(\"NAME\")");
      const auto bytes = environment_.bitmapResource ? environment_.bitmapResource(v.text)
                                                     : std::nullopt;
      if (!bytes) Fail(line, "no bitmap resource " + v.text);
      if (!static_cast<Bitmap*>(object)->LoadFromResource(*bytes)) {
        Fail(line, "bitmap resource " + v.text + " is not a valid bitmap");
      }
      return;
    }
    Fail(line, info.name + " is set through its own properties (" + info.name + ".Name = ...)");
  }

  int IndexOf(const PropertyInfo& info, const std::string& name, int line) const {
    for (std::size_t i = 0; i < info.valueNames.size(); ++i) {
      if (info.valueNames[i] == name) return static_cast<int>(i);
    }
    Fail(line, name + " is no value of " + info.name);
  }

  void Want(bool ok, int line, const PropertyInfo& info, const std::string& what) const {
    if (!ok) Fail(line, info.name + " takes " + what);
  }

  // Runs a step whose refusals (a setter's exception) become form errors.
  template <class Step>
  void Guard(int line, Step step) {
    try {
      step();
    } catch (const FormError&) {
      throw;
    } catch (const std::exception& e) {
      Fail(line, e.what());
    }
  }

  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw FormError(std::string(form_), line, what);
  }

  Component& root_;
  std::string_view form_;
  const FormEnvironment& environment_;
  std::vector<Component*> created_;
};

}  // namespace

void ReadForm(Component& root, std::string_view formName, std::string_view text,
              const FormEnvironment& environment) {
  const FormObject object = ParseForm(formName, text);
  Reader(root, formName, environment).Read(object);
}

}  // namespace ui
