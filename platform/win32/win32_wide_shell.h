#pragma once
// The icon guard's desktop operations over user32 and shell32.

#include "platform/wide_shell.h"

namespace platform::win32 {

class Win32WideShell : public WideShell {
 public:
  std::string ToOem(const std::u16string& text, std::size_t bufferBytes) override;
  int ShowMessage(const std::u16string& text, const std::u16string& caption,
                  std::uint32_t style) override;
  bool Launch(const std::u16string& verb, const std::u16string& file,
              const std::u16string& parameters, const std::u16string& directory,
              int show) override;
  bool RemoveFile(const std::u16string& path) override;
};

}  // namespace platform::win32
