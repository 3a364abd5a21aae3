#pragma once
// Builds a form from its stored text: every owned component by its class
// name, every property through its setter, every event bound to one of the
// form's handlers by name.

#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/class_registry.h"
#include "ui/component.h"

namespace ui {

struct FormEnvironment {
  const ClassRegistry& classes;
  // The bytes of the program's bitmap resource of that name, if any.
  std::function<std::optional<std::vector<std::uint8_t>>(const std::string& name)> bitmapResource;
  // The form's handler of that name as the std::function type of the event
  // it is bound to; an empty std::any when the form has none of that name.
  std::function<std::any(const std::string& name)> handler;
};

// Reads the stored form `text` (named `formName` in errors) into `root`,
// whose class must be the one the text names. The components the text
// declares are created, all owned by `root` in the order they appear, each
// handed the object it is nested in as its parent. When everything is set,
// every new component and then `root` are told they are loaded.
// Throws FormError with the form's name and the line on a syntax error, an
// unknown class or property, a value of the wrong kind or out of range, or
// a setter that refuses its value; the components created so far are then
// destroyed again.
void ReadForm(Component& root, std::string_view formName, std::string_view text,
              const FormEnvironment& environment);

}  // namespace ui
