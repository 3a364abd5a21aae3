#include "platform/memory/memory_wide_shell.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>

namespace platform::memory {
namespace {

// The system's conversion of single code units: see the table's head for
// how it was measured and what it lists.
struct OemByteOf {
  char16_t unit;
  std::uint8_t byte;
};
constexpr OemByteOf kOem437[] = {
#include "platform/memory/oem437_table.inc"
};
static_assert(std::ranges::adjacent_find(kOem437, std::ranges::greater_equal{},
                                         &OemByteOf::unit) == std::end(kOem437),
              "the table must be in strict code-unit order");

char OemByte(char16_t c) {
  const auto* found = std::ranges::lower_bound(kOem437, c, {}, &OemByteOf::unit);
  if (found != std::end(kOem437) && found->unit == c) return static_cast<char>(found->byte);
  return c < 0x80 ? static_cast<char>(c) : '?';
}

}  // namespace

std::string MemoryWideShell::ToOem(const std::u16string& text, std::size_t bufferBytes) {
  std::string oem;
  if (bufferBytes == 0) return oem;
  // One byte per code unit: the system converts even a surrogate pair unit
  // by unit (to "??"), so the bound counts units.
  const std::size_t count = std::min(text.size(), bufferBytes - 1);
  for (std::size_t i = 0; i < count; ++i) oem.push_back(OemByte(text[i]));
  return oem;
}

int MemoryWideShell::ShowMessage(const std::u16string& text, const std::u16string& caption,
                                 std::uint32_t style) {
  Call call;
  call.kind = Call::Kind::Message;
  call.text = text;
  call.caption = caption;
  call.style = style;
  calls_.push_back(std::move(call));
  if (answers_.empty()) return 0;
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

bool MemoryWideShell::Launch(const std::u16string& verb, const std::u16string& file,
                             const std::u16string& parameters, const std::u16string& directory,
                             int show) {
  Call call;
  call.kind = Call::Kind::Launch;
  call.verb = verb;
  call.file = file;
  call.parameters = parameters;
  call.directory = directory;
  call.show = show;
  calls_.push_back(std::move(call));
  return true;
}

bool MemoryWideShell::RemoveFile(const std::u16string& path) {
  Call call;
  call.kind = Call::Kind::Remove;
  call.file = path;
  calls_.push_back(std::move(call));
  return removeSucceeds_;
}

}  // namespace platform::memory
