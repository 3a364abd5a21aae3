#pragma once
// The system's locale-aware upper-casing.

#include "platform/text.h"

namespace platform::win32 {

class Win32Text : public Text {
 public:
  std::string UpperCase(const std::string& text) override;
};

}  // namespace platform::win32
