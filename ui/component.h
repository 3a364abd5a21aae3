#pragma once
// A component: a name, an owner and the ordered list of the components it
// owns. An owner destroys what it owns, the last added first.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/persistent.h"

namespace ui {

class Component : public Persistent {
 public:
  Component();
  ~Component() override;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  static const ClassInfo& StaticClass();
  const ClassInfo& Class() const override { return StaticClass(); }

  const std::string& Name() const { return name_; }
  // Throws std::invalid_argument when the owner already owns a component
  // of that name (names compare without regard to ASCII case).
  void SetName(const std::string& name);

  Component* Owner() const { return owner_; }
  std::size_t ComponentCount() const { return owned_.size(); }
  Component& Components(std::size_t index) const { return *owned_.at(index); }
  // The owned component of that name; null for none or for "".
  Component* FindComponent(std::string_view name) const;

  // Takes `component` into the owned list (at its end) and returns it.
  template <class T>
  T& Adopt(std::unique_ptr<T> component) {
    T& adopted = *component;
    AdoptComponent(std::unique_ptr<Component>(std::move(component)));
    return adopted;
  }
  // Hands an owned component back (ownership goes with it).
  std::unique_ptr<Component> Release(Component& component);

  // A stored form holding this component inside `parent` has been read:
  // containers take the component in. Components that are no control
  // accept any parent and keep none.
  virtual void SetParentComponent(Component& parent);
  // Every property of the stored form has been set.
  virtual void Loaded() {}
  // Whether this is a visual control (a control the user sees).
  virtual bool IsVisualControl() const { return false; }

 private:
  void AdoptComponent(std::unique_ptr<Component> component);

  std::string name_;
  Component* owner_ = nullptr;
  std::vector<std::unique_ptr<Component>> owned_;
};

}  // namespace ui
