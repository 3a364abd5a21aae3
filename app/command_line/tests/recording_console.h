#pragma once
// A console that keeps what the command line writes, for the tests to read.

#include <string>

#include "app/command_line/console.h"

namespace app::testing {

class RecordingConsole : public Console {
 public:
  void Out(const std::string& text) override { out += text; }
  void Error(const std::string& text) override { error += text; }
  std::string out;
  std::string error;
};

}  // namespace app::testing
