#pragma once
// Locale-aware text operations. Text is UTF-8.

#include <string>

namespace platform {

class Text {
 public:
  virtual ~Text() = default;
  // The system's locale-aware upper-casing of every character.
  virtual std::string UpperCase(const std::string& text) = 0;
};

}  // namespace platform
