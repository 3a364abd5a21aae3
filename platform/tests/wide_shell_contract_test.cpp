// WideShell::ToOem: the in-memory desktop must convert as the system does
// with OEM code page 437.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/memory/memory_wide_shell.h"
#ifdef _WIN32
#include "platform/win32/win32_wide_shell.h"
#endif

namespace platform {
namespace {

struct Backend {
  const char* name;
  std::function<std::unique_ptr<WideShell>()> make;
};

class ToOemContract : public testing::TestWithParam<Backend> {};

TEST_P(ToOemContract, ConvertsToCodePage437) {
  const auto shell = GetParam().make();
  const struct {
    std::u16string text;
    std::string oem;
  } cases[] = {
      {u"", ""},
      {u"R:\\Plain.lnk", "R:\\Plain.lnk"},
      {u"caf\u00e9", "caf\x82"},
      {u"\u00c7\u00fc\u00a0\u2591\u03b1", "\x80\x81\xff\xb0\xe0"},
      {u"\u4e2d", "?"},
  };
  for (const auto& c : cases) EXPECT_EQ(shell->ToOem(c.text, 260), c.oem);
}

TEST_P(ToOemContract, StaysInsideTheBuffer) {
  const auto shell = GetParam().make();
  EXPECT_EQ(shell->ToOem(u"abc\u00e9ef", 5), "abc\x82");
  EXPECT_EQ(shell->ToOem(u"abc", 4), "abc");
  EXPECT_EQ(shell->ToOem(u"abc", 1), "");
  EXPECT_EQ(shell->ToOem(std::u16string(300, u'x'), 260), std::string(259, 'x'));
}

INSTANTIATE_TEST_SUITE_P(
    Backends, ToOemContract,
    testing::Values(
        Backend{"memory", [] { return std::make_unique<memory::MemoryWideShell>(); }}
#ifdef _WIN32
        ,
        Backend{"win32", [] { return std::make_unique<win32::Win32WideShell>(); }}
#endif
        ),
    [](const testing::TestParamInfo<Backend>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace platform
