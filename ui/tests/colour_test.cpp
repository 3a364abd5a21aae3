// Colour values: plain RGB passes through, 0x800000nn asks for system
// colour nn at the moment of drawing.

#include "ui/colour.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ui::Colour;

struct Case {
  Colour value;
  Colour expected;
  std::vector<int> asked;  // system colour indices looked up
};

class ResolveColourTest : public ::testing::TestWithParam<Case> {};

// A lookup that answers a colour made from the index, so a wrong index
// shows in the result.
Colour FakeSystemColour(int index) { return 0x00010203u * static_cast<Colour>(index + 1); }

TEST_P(ResolveColourTest, ResolvesSystemColoursOnly) {
  const Case& c = GetParam();
  std::vector<int> asked;
  const Colour resolved = ui::ResolveColour(c.value, [&](int index) {
    asked.push_back(index);
    return FakeSystemColour(index);
  });
  EXPECT_EQ(resolved, c.expected);
  EXPECT_EQ(asked, c.asked);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ResolveColourTest,
    ::testing::Values(
        Case{0x00000000, 0x00000000, {}},
        Case{0x00FFF3EF, 0x00FFF3EF, {}},  // background of the application windows
        Case{0x00912400, 0x00912400, {}},
        Case{0x0000000F, 0x0000000F, {}},  // index-like value without the flag is plain red
        Case{0x8000000F, FakeSystemColour(15), {15}},  // COLOR_BTNFACE
        Case{0x80000014, FakeSystemColour(20), {20}},  // COLOR_BTNHIGHLIGHT
        Case{0x80000000, FakeSystemColour(0), {0}},
        // GDI would read a top byte as a palette index: it is dropped.
        Case{0x02123456, 0x00123456, {}}));

TEST(ResolveColour, DropsTopByteOfSystemAnswer) {
  EXPECT_EQ(ui::ResolveColour(0x80000005, [](int) { return 0xFF010203u; }), 0x00010203u);
}

}  // namespace
