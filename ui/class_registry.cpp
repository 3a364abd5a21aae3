#include "ui/class_registry.h"

#include <stdexcept>

namespace ui {

void ClassRegistry::Add(const ClassInfo& info, Factory factory) {
  if (!entries_.emplace(info.Name(), Entry{&info, std::move(factory)}).second) {
    throw std::logic_error(info.Name() + " is registered twice");
  }
}

const ClassInfo* ClassRegistry::Find(std::string_view name) const {
  const auto it = entries_.find(name);
  return it == entries_.end() ? nullptr : it->second.info;
}

std::unique_ptr<Component> ClassRegistry::Create(std::string_view name) const {
  const auto it = entries_.find(name);
  if (it == entries_.end()) throw std::invalid_argument("unknown class " + std::string(name));
  return it->second.factory();
}

}  // namespace ui
