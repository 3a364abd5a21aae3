#include "ui/class_info.h"

#include <stdexcept>

namespace ui {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

ClassInfo::ClassInfo(std::string name, const ClassInfo* parent,
                     std::vector<PropertyInfo> properties)
    : name_(std::move(name)), parent_(parent), own_(std::move(properties)) {
  for (auto& property : own_) {
    // A class may not publish a name twice, nor hide one of its base's
    // except by redeclaring it with a new default.
    const PropertyInfo* base = parent_ ? parent_->FindProperty(property.name) : nullptr;
    if (property.redeclared) {
      if (!base) throw std::logic_error(name_ + " redeclares " + property.name + ", which no base has");
      auto byDefault = property.defaultValue;
      property = *base;
      property.defaultValue = std::move(byDefault);
      property.redeclared = true;
    } else if (base) {
      throw std::logic_error(name_ + " publishes " + property.name + " again");
    }
    int count = 0;
    for (const auto& other : own_) count += SameName(other.name, property.name) ? 1 : 0;
    if (count > 1) throw std::logic_error(name_ + " publishes " + property.name + " twice");
  }
}

bool ClassInfo::InheritsFrom(const ClassInfo& ancestor) const {
  for (const ClassInfo* c = this; c != nullptr; c = c->parent_) {
    if (c == &ancestor) return true;
  }
  return false;
}

const PropertyInfo* ClassInfo::FindProperty(std::string_view name) const {
  for (const ClassInfo* c = this; c != nullptr; c = c->parent_) {
    for (const auto& property : c->own_) {
      if (SameName(property.name, name)) return &property;
    }
  }
  return nullptr;
}

std::vector<const PropertyInfo*> ClassInfo::Properties() const {
  std::vector<const PropertyInfo*> all =
      parent_ ? parent_->Properties() : std::vector<const PropertyInfo*>{};
  for (const auto& property : own_) {
    if (!property.redeclared) {
      all.push_back(&property);
      continue;
    }
    for (auto& entry : all) {
      if (SameName(entry->name, property.name)) entry = &property;
    }
  }
  return all;
}

}  // namespace ui
