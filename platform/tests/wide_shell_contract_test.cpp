// WideShell::ToOem: the in-memory desktop must convert as the system does
// with OEM code page 437, best fit included.

#include <gtest/gtest.h>

#include <algorithm>
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
      // Best fit: a character outside the code page becomes its look-alike.
      {u"\u0100\u2019\u201c", "A'\""},
      {u"R:\\Bob\u2019s.lnk", "R:\\Bob's.lnk"},
      {u"\u2013\uff21\u2122\u263a\u3000", "-AT\x01 "},
      // Surrogates convert unit by unit, a pair as well as a lone one.
      {u"\U0001F600", "??"},
      {std::u16string{u'x', char16_t{0xDC00}, u'y'}, "x?y"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shell->ToOem(c.text, 260), c.oem) << testing::PrintToString(c.text);
  }
}

TEST_P(ToOemContract, StaysInsideTheBuffer) {
  const auto shell = GetParam().make();
  EXPECT_EQ(shell->ToOem(u"abc\u00e9ef", 5), "abc\x82");
  EXPECT_EQ(shell->ToOem(u"abc", 4), "abc");
  EXPECT_EQ(shell->ToOem(u"abc", 1), "");
  EXPECT_EQ(shell->ToOem(std::u16string(300, u'x'), 260), std::string(259, 'x'));
  EXPECT_EQ(shell->ToOem(u"Bob\u2019s.lnk", 5), "Bob'");
  // A bound inside a surrogate pair keeps the first unit's byte.
  EXPECT_EQ(shell->ToOem(u"ab\U0001F600c", 4), "ab?");
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

#ifdef _WIN32
// Keeps the in-memory machine's conversion table honest: every UTF-16 code
// unit alone, then all of them in one string, so that a unit converting
// differently beside its neighbours (a surrogate pair among them) shows too.
TEST(ToOemTable, MatchesTheSystemForEveryCodeUnit) {
  memory::MemoryWideShell memoryShell;
  win32::Win32WideShell systemShell;
  std::u16string all;
  for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
    const std::u16string text(1, static_cast<char16_t>(unit));
    ASSERT_EQ(memoryShell.ToOem(text, 2), systemShell.ToOem(text, 2))
        << "U+" << std::hex << static_cast<unsigned>(unit);
    all += text;
  }
  const std::string fromMemory = memoryShell.ToOem(all, all.size() + 1);
  const std::string fromSystem = systemShell.ToOem(all, all.size() + 1);
  ASSERT_EQ(fromMemory.size(), fromSystem.size());
  const auto differ = std::ranges::mismatch(fromMemory, fromSystem).in1;
  EXPECT_TRUE(differ == fromMemory.end())
      << "first difference at U+" << std::hex << (differ - fromMemory.begin());
}
#endif

}  // namespace
}  // namespace platform
