#pragma once
// The component classes a stored form may name, with a way to make each.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/class_info.h"
#include "ui/component.h"

namespace ui {

class ClassRegistry {
 public:
  using Factory = std::function<std::unique_ptr<Component>()>;

  template <class T>
  ClassRegistry& Register() {
    Add(T::StaticClass(), [] { return std::make_unique<T>(); });
    return *this;
  }
  void Add(const ClassInfo& info, Factory factory);

  // Null when no class of that name is registered (names are exact).
  const ClassInfo* Find(std::string_view name) const;
  std::unique_ptr<Component> Create(std::string_view name) const;

 private:
  struct Entry {
    const ClassInfo* info;
    Factory factory;
  };
  std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace ui
