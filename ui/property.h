#pragma once
// A published property: its name, its kind, its declared default and the
// accessors through which stored forms and the localizer reach it.

#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ui {

class ClassInfo;
class Persistent;

enum class PropertyKind {
  Text,
  Integer,
  Boolean,
  Enumeration,  // one of `valueNames`, held as its index
  Set,          // a subset of `valueNames`, held as bits (bit i = value i)
  Colour,       // a colour value 0x00BBGGRR or 0x800000nn
  Object,       // an owned object of `objectClass`
  Event,        // a handler of the form, bound by name
};

// A scalar property value: text for Text; a number for Integer,
// Enumeration, Set and Colour; a flag for Boolean.
using Value = std::variant<std::string, std::int64_t, bool>;

struct PropertyInfo {
  std::string name;
  PropertyKind kind = PropertyKind::Text;
  // Enumeration and Set: the value names, from value 0 on.
  std::vector<std::string> valueNames;
  // Object: the class the property declares (what it holds may derive from it).
  const ClassInfo* objectClass = nullptr;
  // The value a stored form leaves out; none when the value is always stored.
  std::optional<Value> defaultValue;
  // A derived class publishes its base's property again with another
  // default; everything else comes from the base's declaration.
  bool redeclared = false;
  // The smallest and largest value an Integer property takes.
  std::int64_t minimum = INT32_MIN;
  std::int64_t maximum = INT32_MAX;

  // Scalar kinds.
  std::function<Value(const Persistent&)> get;
  std::function<void(Persistent&, const Value&)> set;
  // Object: the object the property holds (null when it holds none).
  std::function<Persistent*(Persistent&)> object;
  // Event: the name of the bound handler ("" for none), and binding one;
  // `handler` must hold the std::function type of the event, or the
  // binding throws std::bad_any_cast.
  std::function<std::string(const Persistent&)> handlerName;
  std::function<void(Persistent&, const std::string& name, const std::any& handler)> bind;
};

}  // namespace ui
