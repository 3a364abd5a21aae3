// A stored form linked into the program as a resource and built from it.

#include <gtest/gtest.h>
#include <windows.h>

#include "ui/class_registry.h"
#include "ui/form.h"
#include "ui/form_reader.h"
#include "ui/tests/fake_window_system.h"
#include "ui/win32/stored_form_resource.h"

namespace ui::win32 {
namespace {

TEST(StoredFormResource, AFormIsBuiltFromItsResource) {
  const auto text = StoredFormResource(GetModuleHandleW(nullptr), "SAMPLE");
  ASSERT_TRUE(text.has_value());
  EXPECT_FALSE(StoredFormResource(GetModuleHandleW(nullptr), "NOSUCHFORM").has_value());

  ClassRegistry classes;
  classes.Register<WinControl>();
  testing::FakeWindowSystem windows;
  Form form(windows);
  ReadForm(form, "Sample", *text, FormEnvironment{classes, nullptr, nullptr});
  EXPECT_EQ(form.Caption(), "Quorvex Remover");
  ASSERT_EQ(form.ComponentCount(), 1u);
  EXPECT_EQ(static_cast<Control&>(form.Components(0)).BoundsRect(), (Rect{0, 325, 530, 366}));
}

}  // namespace
}  // namespace ui::win32
