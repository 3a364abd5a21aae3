// The flat button on a form with a recording window system: its published
// properties and presets, hover and press, the click, the keys, the
// automatic height and the glyph it shows.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/offbtn/office97_button.h"
#include "ui/class_info.h"
#include "ui/class_registry.h"
#include "ui/form.h"
#include "ui/form_reader.h"
#include "ui/tests/fake_window_system.h"

namespace controls {
namespace {

using ui::testing::FakeWindowSystem;
using S = TOffBtnState;

// A bitmap resource of `width` x `height`, 24 bits per pixel.
std::vector<std::uint8_t> BitmapResource(int width, int height) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> bytes(40 + static_cast<std::size_t>(stride * height), 0);
  bytes[0] = 40;
  bytes[4] = static_cast<std::uint8_t>(width);
  bytes[8] = static_cast<std::uint8_t>(height);
  bytes[12] = 1;
  bytes[14] = 24;
  return bytes;
}

ui::Bitmap Glyph(int width, int height) {
  ui::Bitmap glyph;
  EXPECT_TRUE(glyph.LoadFromResource(BitmapResource(width, height)));
  return glyph;
}

class FlatButtonTest : public ::testing::Test {
 protected:
  TOffice97Button& AddButton(const std::string& name) {
    auto& button = form_.Adopt(std::make_unique<TOffice97Button>());
    button.SetName(name);
    button.SetParent(&form_);
    button.WindowCreated();
    return button;
  }
  // The pointer is over `control` (or over the form when null).
  void PointAt(ui::Control* control) { windows_.controlAtPointer = control ? control : &form_; }

  FakeWindowSystem windows_;
  ui::Form form_{windows_};
};

TEST_F(FlatButtonTest, StartsWithItsDeclaredValues) {
  TOffice97Button button;
  const ui::ClassInfo& info = button.Class();
  const struct {
    const char* property;
    ui::Value initial;
    std::optional<ui::Value> stored;  // the value a form leaves out
  } kCases[] = {
      {"Office2000Look", true, true},
      {"About", std::int64_t{0}, std::int64_t{0}},
      {"ActiveColor", std::int64_t{0x808080}, std::int64_t{0x808080}},
      {"ActiveOutlineColor", std::int64_t{0xFFFFFF}, std::int64_t{0xFFFFFF}},
      {"ActiveOutlineColor2", std::int64_t{0xD6E7E7}, std::int64_t{0xD6E7E7}},
      {"AutoHeight", false, false},
      {"AutoTransparency", true, true},
      {"Cancel", false, false},
      {"Caption", std::string(), std::string()},
      {"Color", std::int64_t{0xCCFFFF}, std::int64_t{0x80000005}},
      {"ControlType", std::int64_t{0}, std::int64_t{0}},
      {"Default", false, false},
      {"InactiveColor", std::int64_t{0xC0C0C0}, std::int64_t{0xC0C0C0}},
      {"ModalResult", std::int64_t{0}, std::int64_t{0}},
      {"Position", std::int64_t{2}, std::int64_t{2}},
      {"ShowGlyph", false, false},
      {"Transparent", false, false},
      {"TransparentColor", std::int64_t{0}, std::int64_t{0}},
      {"UseCustomGlyphs", false, false},
      {"WordWrap", true, true},
      {"FontSize", std::int64_t{8}, std::nullopt},
      {"TabStop", true, true},
      {"Width", std::int64_t{70}, std::nullopt},
      {"Height", std::int64_t{23}, std::nullopt},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.property);
    const ui::PropertyInfo* property = info.FindProperty(c.property);
    ASSERT_NE(property, nullptr);
    EXPECT_EQ(property->get(button), c.initial);
    EXPECT_EQ(property->defaultValue, c.stored);
  }
  for (const char* glyph : {"ActiveGlyph", "DownActiveGlyph", "InactiveGlyph", "DisabledGlyph"}) {
    EXPECT_EQ(info.FindProperty(glyph)->objectClass, &ui::Bitmap::StaticClass()) << glyph;
  }
  EXPECT_EQ(info.FindProperty("HoverFont")->objectClass, &ui::Font::StaticClass());
  EXPECT_EQ(button.StockGlyphNames()[0], "OFFICE_1");
  EXPECT_EQ(button.State(), S::bsInactive);
}

TEST_F(FlatButtonTest, PresetsOfTheKindsAndLooks) {
  auto& button = AddButton("b");
  button.SetControlType(TOffBtnType::bsUpButton);
  EXPECT_EQ(button.Position(), TGlyphPosition::bsTop) << "no glyph beside a small kind";
  EXPECT_TRUE(button.ShowGlyph());
  EXPECT_EQ(button.StockGlyphNames()[0], "OFFICE_9");
  EXPECT_EQ(button.StockGlyphNames()[3], "OFFICE_12");

  button.SetControlType(TOffBtnType::bsHintButton);
  button.SetPosition(TGlyphPosition::bsRight);
  EXPECT_EQ(button.Position(), TGlyphPosition::bsTop);
  button.SetPosition(TGlyphPosition::bsBottom);
  EXPECT_EQ(button.Position(), TGlyphPosition::bsBottom);

  button.SetControlType(TOffBtnType::bsRadioButton);
  EXPECT_EQ(button.StockGlyphNames()[0], "OFFICE_17");
  button.SetActiveOutlineColor2(0x00123456);
  button.SetActiveColor(0x00010101);
  button.SetOffice2000Look(false);
  EXPECT_EQ(button.StockGlyphNames()[0], "OFFICE_5");
  EXPECT_EQ(button.Color(), 0x00E1FFFFu);
  EXPECT_EQ(button.ActiveColor(), 0x00808080u);
  EXPECT_EQ(button.ActiveOutlineColor2(), 0x00123456u) << "the Office 97 look keeps it";
  EXPECT_TRUE(button.ShowGlyph());

  button.SetControlType(TOffBtnType::bsButton);
  EXPECT_TRUE(button.ShowGlyph()) << "the Office 97 push button shows its bullet";
  EXPECT_EQ(button.Position(), TGlyphPosition::bsBottom);
  button.SetOffice2000Look(true);
  EXPECT_FALSE(button.ShowGlyph());
  EXPECT_EQ(button.Color(), 0x00CCFFFFu);
  EXPECT_EQ(button.ActiveOutlineColor2(), 0x00D6E7E7u);
  EXPECT_EQ(button.StockGlyphNames()[0], "OFFICE_1");
}

TEST_F(FlatButtonTest, HoverCapturesAndPressDragReleaseClicksOnce) {
  auto& button = AddButton("b");
  std::vector<std::string> seen;
  button.OnMouseEnter.handler = [&](ui::Component&) { seen.push_back("enter"); };
  button.OnMouseExit.handler = [&](ui::Component&) { seen.push_back("exit"); };
  button.OnClick.handler = [&](ui::Component&) { seen.push_back("click"); };

  PointAt(&button);
  button.MouseMove({}, {5, 5});
  EXPECT_EQ(button.State(), S::bsActive);
  EXPECT_EQ(windows_.captured, &button) << "hovering keeps the capture";
  // A control lying over the button is not the button.
  ui::Control label;
  PointAt(&label);
  button.MouseMove({}, {5, 5});
  EXPECT_EQ(button.State(), S::bsInactive);
  EXPECT_EQ(windows_.captured, nullptr);

  PointAt(&button);
  button.MouseDown(ui::TMouseButton::mbLeft, {}, {5, 5});
  EXPECT_EQ(button.State(), S::bsDown);
  EXPECT_EQ(windows_.focused, &button) << "a press brings the focus";
  PointAt(nullptr);
  button.MouseMove({}, {90, 5});
  EXPECT_EQ(button.State(), S::bsDownAndOut);
  PointAt(&button);
  button.MouseMove({}, {5, 5});
  EXPECT_EQ(button.State(), S::bsDown);
  button.MouseUp(ui::TMouseButton::mbLeft, {}, {5, 5});
  EXPECT_EQ(button.State(), S::bsActive);
  EXPECT_EQ(seen, (std::vector<std::string>{"enter", "exit", "click"}));

  // Released off the button: no click.
  seen.clear();
  button.MouseDown(ui::TMouseButton::mbLeft, {}, {5, 5});
  PointAt(nullptr);
  button.MouseMove({}, {90, 5});
  button.MouseUp(ui::TMouseButton::mbLeft, {}, {90, 5});
  EXPECT_EQ(button.State(), S::bsInactive);
  EXPECT_EQ(windows_.captured, nullptr);
  EXPECT_TRUE(seen.empty());

  // A press the focus cannot follow does not count.
  windows_.focused = nullptr;
  windows_.refuseFocus = true;
  PointAt(&button);
  button.MouseDown(ui::TMouseButton::mbLeft, {}, {5, 5});
  EXPECT_EQ(button.State(), S::bsInactive);
}

TEST_F(FlatButtonTest, AClickGivesTheFormItsModalResultAndRestsTheOtherButtons) {
  auto& ok = AddButton("ok");
  auto& other = AddButton("other");
  ok.SetModalResult(2);
  PointAt(&other);
  other.MouseMove({}, {5, 5});
  ASSERT_EQ(other.State(), S::bsActive);

  PointAt(&ok);
  ok.MouseDown(ui::TMouseButton::mbLeft, {}, {5, 5});
  ok.MouseUp(ui::TMouseButton::mbLeft, {}, {5, 5});
  EXPECT_EQ(form_.ModalResult(), 2);
  EXPECT_EQ(ok.State(), S::bsInactive) << "a closing click leaves the button at rest";
  EXPECT_EQ(windows_.captured, nullptr);
  EXPECT_EQ(other.State(), S::bsInactive);

  ok.SetModalResult(0);
  ok.MouseDown(ui::TMouseButton::mbLeft, {}, {5, 5});
  ok.MouseUp(ui::TMouseButton::mbLeft, {}, {5, 5});
  EXPECT_EQ(form_.ModalResult(), 0) << "also when it is 0";
}

TEST_F(FlatButtonTest, KeyboardClicksShowThePressAndComeBack) {
  auto& check = AddButton("check");
  auto& exit = AddButton("exit");
  auto& list = form_.Adopt(std::make_unique<ui::WinControl>());
  list.SetParent(&form_);
  check.SetCaption("&Check Me Now!");
  check.SetDefault(true);
  check.WindowCreated();
  exit.SetCancel(true);
  int checks = 0;
  int exits = 0;
  check.OnClick.handler = [&](ui::Component&) {
    ++checks;
    EXPECT_EQ(check.State(), S::bsInactive) << "the state is back before OnClick";
  };
  exit.OnClick.handler = [&](ui::Component&) { ++exits; };

  // A default button answers Enter until it has had the focus and lost it.
  list.SetFocus();
  const int processedBefore = windows_.processed;
  EXPECT_TRUE(form_.OfferDialogKey(ui::kVkReturn, {}));
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(windows_.processed, processedBefore + 2) << "the pressed look was shown";
  check.SetFocus();
  list.SetFocus();
  EXPECT_FALSE(check.KeyActive());
  EXPECT_FALSE(form_.OfferDialogKey(ui::kVkReturn, {}));
  EXPECT_EQ(checks, 1);

  EXPECT_TRUE(form_.OfferDialogKey(ui::kVkEscape, {}));
  EXPECT_FALSE(form_.OfferDialogKey(ui::kVkEscape, ui::ShiftState{true, false, false}));
  EXPECT_EQ(exits, 1);

  // Space on the focused button's own key-down; the accelerator letter.
  exit.SetFocus();
  EXPECT_TRUE(exit.KeyDown(ui::kVkSpace, {}));
  EXPECT_EQ(exits, 2);
  EXPECT_TRUE(form_.OfferDialogChar('c'));
  EXPECT_EQ(checks, 2);
  check.SetEnabled(false);
  EXPECT_FALSE(form_.OfferDialogChar('c')) << "a button that cannot take the focus";
}

TEST_F(FlatButtonTest, AutoHeightFollowsCaptionAndGlyph) {
  auto& button = AddButton("b");
  button.SetBounds(0, 0, 174, 71);
  button.SetCaption("Check");  // 30 x 13 with the recorder's metrics
  button.SetUseCustomGlyphs(true);
  button.SetInactiveGlyph(Glyph(32, 32));
  button.SetShowGlyph(true);
  button.SetPosition(TGlyphPosition::bsTop);
  button.SetAutoHeight(true);
  EXPECT_EQ(button.Height(), 13 + 32 + 4 + 10);
  button.SetPosition(TGlyphPosition::bsLeft);
  EXPECT_EQ(button.Height(), 32 + 10);
  button.SetInactiveGlyph(Glyph(16, 8));
  EXPECT_EQ(button.Height(), 13 + 10) << "setting a glyph adjusts too";

  // Up arrow: the built-in 17 x 9 glyph from the program's resources.
  windows_.bitmaps["OFFICE_12"] = BitmapResource(17, 9);
  button.SetUseCustomGlyphs(false);
  button.SetControlType(TOffBtnType::bsUpButton);
  EXPECT_EQ(button.Height(), 13 + 5);
}

TEST_F(FlatButtonTest, TheGlyphForEachStateAndLook) {
  auto& button = AddButton("b");
  for (int i = 1; i <= 4; ++i) windows_.bitmaps["OFFICE_" + std::to_string(i)] = BitmapResource(10, i);
  button.SetInactiveGlyph(Glyph(20, 1));
  button.SetActiveGlyph(Glyph(20, 2));
  // Heights tell the bitmaps apart: stock 1..4, custom inactive 1, active 2.
  auto height = [&] {
    const auto glyph = button.CurrentGlyph();
    return glyph.bitmap ? glyph.bitmap->Height() * (glyph.bitmap->Width() == 20 ? -1 : 1) : 0;
  };
  EXPECT_EQ(height(), 4) << "stock inactive";
  PointAt(&button);
  button.MouseMove({}, {1, 1});
  EXPECT_EQ(height(), 1) << "stock active";
  button.SetUseCustomGlyphs(true);
  EXPECT_EQ(height(), -2) << "custom active";
  button.MouseDown(ui::TMouseButton::mbLeft, {}, {1, 1});
  EXPECT_EQ(height(), -1) << "no pressed glyph: the inactive one";
  button.SetEnabled(false);
  EXPECT_TRUE(button.CurrentGlyph().embossInactive) << "no disabled glyph: the inactive one embossed";
  button.SetDisabledGlyph(Glyph(20, 5));
  EXPECT_EQ(height(), -5);
  button.SetUseCustomGlyphs(false);
  EXPECT_EQ(height(), 2) << "stock disabled";
}

TEST_F(FlatButtonTest, AboutShowsItsBannerAndReadsNone) {
  auto& button = AddButton("b");
  button.Class().FindProperty("About")->set(button, std::int64_t{1});
  ASSERT_EQ(windows_.information.size(), 1u);
  EXPECT_NE(windows_.information[0].find("TOffice97Button"), std::string::npos);
  EXPECT_EQ(button.About(), TOffBtnAbout::abNone);
}

TEST_F(FlatButtonTest, ReadFromAStoredForm) {
  ui::ClassRegistry classes;
  classes.Register<TOffice97Button>();
  windows_.bitmaps["GLYPH_CHECK"] = BitmapResource(32, 32);
  std::vector<std::string> clicks;
  const ui::FormEnvironment environment{
      classes, [&](const std::string& name) { return windows_.BitmapResource(name); },
      [&](const std::string& name) -> std::any {
        if (name != "btCheckClick") return {};
        return std::function<void(ui::Component&)>(
            [&](ui::Component& sender) { clicks.push_back(sender.Name()); });
      }};
  ui::ReadForm(form_, "Mainr", R"(object frmMain: TForm
  object btCheck: TOffice97Button
    Left = 333
    Top = 54
    Width = 174
    Height = 71
    Caption = "Check Me Now!"
    Color = #EFF3FF
    Default = true
    Font.Name = "Verdana"
    HoverFont.Name = "MS Sans Serif"
    InactiveGlyph = bitmap("GLYPH_CHECK")
    ShowGlyph = true
    UseCustomGlyphs = true
    FontSize = 9
    OnClick = btCheckClick
  end
end
)",
               environment);
  auto& check = static_cast<TOffice97Button&>(form_.Components(0));
  EXPECT_EQ(check.Caption(), "Check Me Now!");
  EXPECT_EQ(check.Color(), 0x00FFF3EFu);
  EXPECT_EQ(check.FontOf().Name(), "Verdana");
  EXPECT_EQ(check.FontOf().Size(), 9) << "Loaded gives both fonts the FontSize";
  EXPECT_EQ(check.HoverFont()->Size(), 9);
  EXPECT_EQ(check.InactiveGlyph()->Width(), 32);
  EXPECT_EQ(check.Parent(), &form_);
  check.Click();
  EXPECT_EQ(clicks, std::vector<std::string>{"btCheck"});
}

}  // namespace
}  // namespace controls
