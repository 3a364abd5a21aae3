#pragma once
// The base of the program's windows: a form built from its stored form,
// with the components the window works with found by name afterwards.

#include <any>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "app/windows/desktop.h"
#include "ui/form.h"
#include "ui/window_system.h"

namespace app {

class StoredWindow : public ui::Form {
 public:
  Desktop& GetDesktop() const { return desktop_; }

 protected:
  StoredWindow(ui::WindowSystem& windows, Desktop& desktop) : ui::Form(windows), desktop_(desktop) {}

  // A handler of the window for an event of the signature `void(Component&)`.
  using Handlers = std::map<std::string, std::function<void(ui::Component&)>>;

  // Reads the stored form of `unit` into this window, binding its events to
  // `handlers`. Throws ui::FormError for a damaged form.
  void Load(const std::string& unit, const Handlers& handlers);

  // The owned component `name`, which must be a T.
  template <class T>
  T& Field(const std::string& name) const {
    if (auto* found = dynamic_cast<T*>(FindComponent(name))) return *found;
    throw std::logic_error(Name() + " has no " + name + " of the expected class");
  }

 private:
  Desktop& desktop_;
};

}  // namespace app
