// What only the store over the profile functions does: it carries text into
// the ANSI code page (1252 here) and back, and a character the code page
// lacks becomes "?" rather than a look-alike that would change the line
// (the system's best fit turns a full-width "=" into "=" and "]" into "]").

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "localizer/win32/profile_store.h"
#include "platform/tests/win32_backend.h"

namespace localizer::tests {
namespace {

TEST(ProfileStoreOnWine, TextCrossesIntoTheCodePageWithoutLookAlikes) {
  platform::tests::Win32Backend backend;
  const std::string file = backend.ScratchDirectory() + "\\caf\xC3\xA9.loc";
  const std::string fullWidthEquals = "\xEF\xBC\x9D", fullWidthBracket = "\xEF\xBC\xBD";
  {
    win32::ProfileStore store(file);
    store.WriteString("App" + fullWidthBracket + "x", "a" + fullWidthEquals + "b",
                      "caf\xC3\xA9 " + fullWidthEquals);
  }
  const auto head = backend.files().ReadHead(file, 1000);
  ASSERT_TRUE(head.has_value()) << "the file keeps its name";
  EXPECT_EQ(std::string(head->bytes.begin(), head->bytes.end()), "[App?x]\r\na?b=caf\xE9 ?\r\n");
  win32::ProfileStore store(file);
  EXPECT_EQ(store.ReadSection("App?x"), std::vector<std::string>{"a?b"});
  EXPECT_EQ(store.ReadString("app?X", "A?B", "-"), "caf\xC3\xA9 ?");
}

}  // namespace
}  // namespace localizer::tests
