#include "ui/component.h"

#include <algorithm>
#include <stdexcept>

#include "ui/class_info.h"
#include "ui/publish.h"

namespace ui {

const ClassInfo& Component::StaticClass() {
  static const ClassInfo info(
      "TComponent", nullptr,
      Publish<Component>().Text("Name", &Component::Name, &Component::SetName, std::nullopt).Done());
  return info;
}

Component::Component() = default;

Component::~Component() {
  while (!owned_.empty()) owned_.pop_back();
}

void Component::SetName(const std::string& name) {
  if (owner_ && !name.empty()) {
    const Component* same = owner_->FindComponent(name);
    if (same && same != this) {
      throw std::invalid_argument("a component named \"" + name + "\" already exists");
    }
  }
  name_ = name;
}

Component* Component::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& component : owned_) {
    if (SameName(component->name_, name)) return component.get();
  }
  return nullptr;
}

void Component::AdoptComponent(std::unique_ptr<Component> component) {
  if (!component->name_.empty() && FindComponent(component->name_)) {
    throw std::invalid_argument("a component named \"" + component->name_ + "\" already exists");
  }
  if (component->owner_) throw std::logic_error("component already has an owner");
  component->owner_ = this;
  owned_.push_back(std::move(component));
}

std::unique_ptr<Component> Component::Release(Component& component) {
  const auto it = std::find_if(owned_.begin(), owned_.end(),
                               [&](const auto& owned) { return owned.get() == &component; });
  if (it == owned_.end()) throw std::invalid_argument("not an owned component");
  std::unique_ptr<Component> released = std::move(*it);
  owned_.erase(it);
  released->owner_ = nullptr;
  return released;
}

void Component::SetParentComponent(Component&) {}

}  // namespace ui
