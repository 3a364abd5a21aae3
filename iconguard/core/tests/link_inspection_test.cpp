#include "iconguard/core/link_inspection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace iconguard {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kMyComputer = {0xe0, 0x4f, 0xd0, 0x20, 0xea, 0x3a, 0x69, 0x10,
                           0xa2, 0xd8, 0x08, 0x00, 0x2b, 0x30, 0x30, 0x9d};
const Bytes kControlPanel = {0x20, 0x20, 0xec, 0x21, 0xea, 0x3a, 0x69, 0x10,
                             0xa2, 0xdd, 0x08, 0x00, 0x2b, 0x30, 0x30, 0x9d};

// An item of `cb` bytes: size, type and sort byte, the class identifier,
// then zero padding up to cb.
Bytes Item(std::uint16_t cb, const Bytes& classId, std::uint8_t type = 0x1f,
           std::uint8_t sort = 0x50) {
  Bytes item = {static_cast<std::uint8_t>(cb & 0xff), static_cast<std::uint8_t>(cb >> 8), type,
                sort};
  item.insert(item.end(), classId.begin(), classId.end());
  item.resize(cb, 0);
  return item;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const Bytes kEnd = {0, 0};
// A Control Panel applet item; its content does not matter.
const Bytes kApplet = {0x0a, 0x00, 0x00, 0x00, 'x', 0x00, 'y', 0x00, 0x00, 0x00};

bool Safe(const Bytes& list) { return IsLinkIdListSafe(list.data(), list.size()); }

TEST(IsLinkIdListSafe, JudgesWellFormedLists) {
  const struct {
    const char* name;
    Bytes list;
    bool safe;
  } cases[] = {
      {"control panel item via my computer",
       Join({Item(20, kMyComputer), Item(20, kControlPanel), kApplet, kEnd}), false},
      {"four items", Join({Item(20, kMyComputer), Item(20, kControlPanel), kApplet, kApplet, kEnd}),
       false},
      {"the control panel folder itself", Join({Item(20, kMyComputer), Item(20, kControlPanel), kEnd}),
       true},
      {"swapped", Join({Item(20, kControlPanel), Item(20, kMyComputer), kApplet, kEnd}), true},
      {"22-byte first item", Join({Item(22, kMyComputer), Item(20, kControlPanel), kApplet, kEnd}),
       true},
      {"22-byte second item", Join({Item(20, kMyComputer), Item(22, kControlPanel), kApplet, kEnd}),
       true},
      {"type and sort bytes ignored",
       Join({Item(20, kMyComputer, 0x00, 0xff), Item(20, kControlPanel, 0xab, 0x00), kApplet, kEnd}),
       false},
      {"my computer twice", Join({Item(20, kMyComputer), Item(20, kMyComputer), kApplet, kEnd}),
       true},
      {"empty list", kEnd, true},
      {"one item", Join({Item(20, kMyComputer), kEnd}), true},
  };
  for (const auto& c : cases) EXPECT_EQ(Safe(c.list), c.safe) << c.name;
}

TEST(IsLinkIdListSafe, NullListIsHarmless) {
  EXPECT_TRUE(IsLinkIdListSafe(nullptr, 0));
  EXPECT_TRUE(IsLinkIdListSafe(nullptr, 100));
}

// Lists from a file or a fuzzer may claim more than they hold. The caller's
// length is a hard limit: every case here is cut out of a larger buffer
// whose remaining bytes would decide otherwise if they were read, and under
// AddressSanitizer a read past the copy would fail the test.
TEST(IsLinkIdListSafe, NeverReadsPastTheGivenLength) {
  const Bytes blocked = Join({Item(20, kMyComputer), Item(20, kControlPanel), kApplet, kEnd});
  const struct {
    const char* name;
    std::size_t length;
    bool safe;
  } cases[] = {
      {"nothing", 0, true},
      {"half a size field", 1, true},
      {"first identifier cut off", 19, true},
      {"first item only", 20, true},
      {"second identifier cut off", 39, true},
      {"two items, no end marker", 40, true},
      {"third size field cut off", 41, true},
      {"third size field present, its item cut off", 42, false},
      {"whole list without its end marker", blocked.size() - 2, false},
      {"whole list", blocked.size(), false},
  };
  for (const auto& c : cases) {
    // An exact-size heap copy so that ASan sees any read beyond it.
    const Bytes prefix(blocked.begin(), blocked.begin() + c.length);
    static const std::uint8_t kNothing = 0;
    const std::uint8_t* data = prefix.empty() ? &kNothing : prefix.data();
    EXPECT_EQ(IsLinkIdListSafe(data, c.length), c.safe) << c.name;
  }
}

TEST(IsLinkIdListSafe, LyingSizesStayInsideTheList) {
  const struct {
    const char* name;
    Bytes list;
    bool safe;
  } cases[] = {
      {"huge first size", Join({Bytes{0xff, 0xff, 0x1f, 0x50}, kMyComputer}), true},
      {"second item claims 20 but holds 10",
       Join({Item(20, kMyComputer), Bytes{20, 0, 0x1f, 0x50, 0x20, 0x20, 0xec, 0x21, 0xea, 0x3a}}),
       true},
      {"third item claims far more than is left",
       Join({Item(20, kMyComputer), Item(20, kControlPanel), Bytes{0xff, 0x7f, 0x00}}), false},
      {"third item of size 1, which cannot be stepped over",
       Join({Item(20, kMyComputer), Item(20, kControlPanel), Bytes{0x01, 0x00, 0x00}}), false},
      {"first item of size 1", Join({Bytes{0x01, 0x00}, Item(20, kControlPanel), kApplet, kEnd}),
       true},
  };
  for (const auto& c : cases) EXPECT_EQ(Safe(c.list), c.safe) << c.name;
}

}  // namespace
}  // namespace iconguard
