#pragma once
// What the icon guard asks of the user's desktop: OEM text conversion,
// message boxes, shell launches and file deletion. Wide-character text.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

inline constexpr std::uint32_t kMbYesNo = 0x04;
inline constexpr std::uint32_t kMbIconError = 0x10;
inline constexpr std::uint32_t kMbIconExclamation = 0x30;
inline constexpr std::uint32_t kMbSystemModal = 0x1000;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr int kSwShow = 5;

class WideShell {
 public:
  virtual ~WideShell() = default;

  // CharToOemW into a buffer of `bufferBytes` bytes: the converted bytes
  // without the terminator, never more than bufferBytes - 1 of them.
  virtual std::string ToOem(const std::u16string& text, std::size_t bufferBytes) = 0;
  // MessageBoxW without an owner window; returns the button pressed.
  virtual int ShowMessage(const std::u16string& text, const std::u16string& caption,
                          std::uint32_t style) = 0;
  // ShellExecuteW without an owner window; true when the launch succeeded.
  virtual bool Launch(const std::u16string& verb, const std::u16string& file,
                      const std::u16string& parameters, const std::u16string& directory,
                      int show) = 0;
  // DeleteFileW.
  virtual bool RemoveFile(const std::u16string& path) = 0;
};

}  // namespace platform
