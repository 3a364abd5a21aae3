#pragma once
// Where the command line writes: the standard output and error the program
// was handed, or the console that started it.

#include <string>

namespace app {

class Console {
 public:
  virtual ~Console() = default;
  // UTF-8 text; lines end in "\n".
  virtual void Out(const std::string& text) = 0;
  virtual void Error(const std::string& text) = 0;
};

}  // namespace app
