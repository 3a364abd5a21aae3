// The gradient panel's properties: defaults, the Percent clamp, repaint on
// every setting, and the area inside the bevels.

#include <gtest/gtest.h>

#include "controls/gpanel/gpanel.h"
#include "ui/class_info.h"
#include "ui/form.h"
#include "ui/tests/fake_window_system.h"

namespace controls {
namespace {

TEST(GPanel, DefaultsClampAndRepaint) {
  ui::testing::FakeWindowSystem windows;
  ui::Form form(windows);
  TGPanel& panel = form.Adopt(std::make_unique<TGPanel>());
  panel.SetParent(&form);
  const ui::ClassInfo& info = panel.Class();
  EXPECT_EQ(info.FindProperty("Color_1")->defaultValue, ui::Value(std::int64_t{0x8000000F}));
  EXPECT_EQ(info.FindProperty("Color_3")->defaultValue, ui::Value(std::int64_t{0x00FFFF00}));
  EXPECT_EQ(info.FindProperty("Percent")->defaultValue, ui::Value(std::int64_t{100}));
  EXPECT_EQ(info.FindProperty("BevelOuter")->kind, ui::PropertyKind::Enumeration)
      << "the base panel's properties stay";

  const struct {
    int set, read;
  } kPercents[] = {{0, 1}, {-7, 1}, {42, 42}, {99, 99}, {100, 100}, {101, 100}};
  for (const auto& c : kPercents) {
    info.FindProperty("Percent")->set(panel, std::int64_t{c.set});
    EXPECT_EQ(panel.Percent(), c.read) << c.set;
  }
  windows.invalidated.clear();
  panel.SetColor_2(panel.Color_2());
  panel.SetActive(true);
  EXPECT_EQ(windows.invalidated.size(), 2u) << "also when unchanged";
}

TEST(GPanel, TheGradientLiesInsideTheBevels) {
  TGPanel panel;
  panel.SetBounds(0, 0, 100, 41);
  panel.SetBevelInner(TPanelBevel::bvRaised);
  panel.SetBevelOuter(TPanelBevel::bvRaised);
  panel.SetBevelWidth(2);
  EXPECT_EQ(panel.GradientArea(), (ui::Rect{4, 4, 96, 37}));
  panel.SetColor_1(0);
  panel.SetColor_2(0x00FFFFFF);
  const auto identity = [](ui::Colour c) { return c & 0x00FFFFFF; };
  const auto bands = panel.Bands(identity);
  ASSERT_FALSE(bands.empty());
  EXPECT_EQ(bands.front().rect.left, 4);
  EXPECT_EQ(bands.front().rect.top, 4);
  EXPECT_EQ(bands.front().rect.bottom, 37);
  EXPECT_EQ(bands.back().rect.right, 96);
  panel.SetActive(false);
  EXPECT_TRUE(panel.Bands(identity).empty()) << "a plain panel when not active";
}

}  // namespace
}  // namespace controls
