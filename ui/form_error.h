#pragma once
// A stored form that cannot be read: which form, which line, what is wrong.

#include <stdexcept>
#include <string>

namespace ui {

class FormError : public std::runtime_error {
 public:
  FormError(const std::string& form, int line, const std::string& what)
      : std::runtime_error("form " + form + ", line " + std::to_string(line) + ": " + what),
        form_(form),
        line_(line) {}

  const std::string& form() const { return form_; }
  int line() const { return line_; }

 private:
  std::string form_;
  int line_;
};

}  // namespace ui
