#pragma once
// Builds a class's list of published properties from its accessors:
//   Publish<TLabel>().Text("Caption", &TLabel::Caption, &TLabel::SetCaption, "")...
// Scalar properties go through the class's own getter and setter, so a
// stored form changes a component exactly as code calling the setter would.

#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <string>
#include <utility>
#include <vector>

#include "ui/event.h"
#include "ui/persistent.h"
#include "ui/property.h"

namespace ui {

template <class C>
class Publish {
 public:
  template <class Getter, class Setter>
  Publish& Text(std::string name, Getter get, Setter set, std::optional<std::string> byDefault) {
    PropertyInfo p = Scalar(std::move(name), PropertyKind::Text);
    p.get = [get](const Persistent& o) -> Value {
      return std::string(std::invoke(get, static_cast<const C&>(o)));
    };
    p.set = [set](Persistent& o, const Value& v) {
      std::invoke(set, static_cast<C&>(o), std::get<std::string>(v));
    };
    if (byDefault) p.defaultValue = *byDefault;
    return Add(std::move(p));
  }

  template <class Getter, class Setter>
  Publish& Integer(std::string name, Getter get, Setter set, std::optional<std::int64_t> byDefault,
                   std::int64_t minimum = INT32_MIN, std::int64_t maximum = INT32_MAX) {
    PropertyInfo p = Number(std::move(name), PropertyKind::Integer, get, set);
    p.minimum = minimum;
    p.maximum = maximum;
    if (byDefault) p.defaultValue = *byDefault;
    return Add(std::move(p));
  }

  template <class Getter, class Setter>
  Publish& Colour(std::string name, Getter get, Setter set, std::optional<std::uint32_t> byDefault) {
    PropertyInfo p = Number(std::move(name), PropertyKind::Colour, get, set);
    if (byDefault) p.defaultValue = std::int64_t{*byDefault};
    return Add(std::move(p));
  }

  template <class Getter, class Setter>
  Publish& Boolean(std::string name, Getter get, Setter set, std::optional<bool> byDefault) {
    PropertyInfo p = Scalar(std::move(name), PropertyKind::Boolean);
    p.get = [get](const Persistent& o) -> Value {
      return static_cast<bool>(std::invoke(get, static_cast<const C&>(o)));
    };
    p.set = [set](Persistent& o, const Value& v) {
      std::invoke(set, static_cast<C&>(o), std::get<bool>(v));
    };
    if (byDefault) p.defaultValue = *byDefault;
    return Add(std::move(p));
  }

  // `E` is the enumeration type; its values are 0, 1, ... in `names` order.
  template <class E>
  Publish& Enumeration(std::string name, E (C::*get)() const, void (C::*set)(E),
                       std::vector<std::string> names,
                       std::optional<std::type_identity_t<E>> byDefault) {
    PropertyInfo p = Number(std::move(name), PropertyKind::Enumeration, get, set);
    p.valueNames = std::move(names);
    if (byDefault) p.defaultValue = static_cast<std::int64_t>(*byDefault);
    return Add(std::move(p));
  }

  // The set is held as bits, bit i standing for `names[i]`.
  template <class Getter, class Setter>
  Publish& Set(std::string name, Getter get, Setter set, std::vector<std::string> names,
               std::optional<std::uint32_t> byDefault) {
    PropertyInfo p = Number(std::move(name), PropertyKind::Set, get, set);
    p.valueNames = std::move(names);
    if (byDefault) p.defaultValue = std::int64_t{*byDefault};
    return Add(std::move(p));
  }

  // `get` gives the owned object (a pointer, null when there is none).
  template <class Getter>
  Publish& Object(std::string name, Getter get, const ClassInfo& declared) {
    PropertyInfo p = Scalar(std::move(name), PropertyKind::Object);
    p.objectClass = &declared;
    p.object = [get](Persistent& o) -> Persistent* { return std::invoke(get, static_cast<C&>(o)); };
    return Add(std::move(p));
  }

  template <class Signature>
  Publish& EventOf(std::string name, ui::Event<Signature> C::*member) {
    PropertyInfo p = Scalar(std::move(name), PropertyKind::Event);
    p.handlerName = [member](const Persistent& o) {
      return (static_cast<const C&>(o).*member).handlerName;
    };
    p.bind = [member](Persistent& o, const std::string& handlerName, const std::any& handler) {
      auto& event = static_cast<C&>(o).*member;
      event.handler = std::any_cast<std::function<Signature>>(handler);
      event.handlerName = handlerName;
    };
    return Add(std::move(p));
  }

  // The base class's property `name` with this class's default (none: the
  // value is always stored).
  Publish& Redeclare(std::string name, std::optional<Value> byDefault) {
    PropertyInfo p;
    p.name = std::move(name);
    p.redeclared = true;
    p.defaultValue = std::move(byDefault);
    return Add(std::move(p));
  }

  std::vector<PropertyInfo> Done() { return std::move(properties_); }

 private:
  static PropertyInfo Scalar(std::string name, PropertyKind kind) {
    PropertyInfo p;
    p.name = std::move(name);
    p.kind = kind;
    return p;
  }

  template <class Getter, class Setter>
  static PropertyInfo Number(std::string name, PropertyKind kind, Getter get, Setter set) {
    // The setter takes what the getter gives: an integer, colour or enum type.
    using Held = std::decay_t<std::invoke_result_t<Getter, const C&>>;
    PropertyInfo p = Scalar(std::move(name), kind);
    p.get = [get](const Persistent& o) -> Value {
      return static_cast<std::int64_t>(std::invoke(get, static_cast<const C&>(o)));
    };
    p.set = [set](Persistent& o, const Value& v) {
      std::invoke(set, static_cast<C&>(o), static_cast<Held>(std::get<std::int64_t>(v)));
    };
    return p;
  }

  Publish& Add(PropertyInfo p) {
    properties_.push_back(std::move(p));
    return *this;
  }

  std::vector<PropertyInfo> properties_;
};

}  // namespace ui
