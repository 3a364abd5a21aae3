#pragma once
// What a class publishes: its name, its base class and its own properties.
// One ClassInfo object exists per class; identity tells "exactly this
// class" apart from "derived from it".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/property.h"

namespace ui {

class ClassInfo {
 public:
  ClassInfo(std::string name, const ClassInfo* parent, std::vector<PropertyInfo> properties);

  const std::string& Name() const { return name_; }
  const ClassInfo* Parent() const { return parent_; }
  // True for this class and every class derived from it.
  bool InheritsFrom(const ClassInfo& ancestor) const;
  // The property of this class or a base class, names compared without
  // regard to ASCII case; null when there is none.
  const PropertyInfo* FindProperty(std::string_view name) const;
  // Every published property, the base classes' first.
  std::vector<const PropertyInfo*> Properties() const;

 private:
  std::string name_;
  const ClassInfo* parent_;
  std::vector<PropertyInfo> own_;
};

// ASCII case-insensitive equality, as property and component names compare.
bool SameName(std::string_view a, std::string_view b);

}  // namespace ui
