// The painters in real windows under Wine, read back from the screen: a
// gradient panel (the main window's footer colours) carries transparent
// labels and a transparent flat button; the gradient shows around the
// labels' text and behind the button's frame and caption, and the label
// under the button shows through it. Many repaints of a window with every
// painter leave the GDI handle count unchanged.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <set>
#include <string>

#include "controls/gpanel/win32/gpanel_paint.h"
#include "controls/offbtn/office97_button.h"
#include "controls/offbtn/win32/offbtn_paint.h"
#include "controls/standard/win32/standard_paint.h"
#include "controls/standard/win32/tests/paint_check.h"
#include "ui/win32/gdi_colour.h"
#include "ui/win32/testing/gui_objects.h"
#include "ui/win32/testing/pixel_surface.h"
#include "ui/win32/tests/host_fixture.h"

namespace controls {
namespace {

using paint_check::InkOf;
using paint_check::InkWhere;
using paint_check::kUntouched;
using ui::Colour;
using ui::win32::testing::CountGuiObjects;
using ui::win32::testing::GuiObjects;
using ui::win32::testing::PixelSurface;

constexpr Colour kText = 0x00912400;
constexpr Colour kCaption = 0x000000FF;  // the button's
constexpr Colour kButtonFace = 0x0000FFFF;
constexpr Colour kLabelColour = 0x00FF00FF;

bool Inside(const ui::Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

class PaintersHostTest : public ui::win32::testing::HostTest {
 protected:
  PaintersHostTest() {
    RegisterStandardPainters(windows_);
    RegisterGPanelPainter(windows_);
    RegisterOffice97ButtonPainter(windows_);
  }

  template <class T>
  T& Place(ui::WinControl& parent, const std::string& name, ui::Rect bounds) {
    T& control = form_->Adopt(std::make_unique<T>());
    control.SetName(name);
    control.SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    control.SetParent(&parent);
    return control;
  }

  TLabel& TransparentLabel(const std::string& name, ui::Point at, const std::string& caption,
                           std::uint32_t style) {
    TLabel& label = Place<TLabel>(*panel_, name, {at.x, at.y, at.x + 10, at.y + 10});
    label.SetColor(kLabelColour);
    label.SetTransparent(true);
    label.GetFont()->SetColor(kText);
    label.GetFont()->SetStyle(style);
    label.SetCaption(caption);  // sizes it
    return label;
  }

  // The main window's footer: white fading to 0x00FFF3EF downwards, here
  // 100 pixels high so that a band is 7 rows; under it a label, over that
  // a transparent flat button; a second label free of the button.
  void Build() {
    form_ = MakeForm("frmMain", 300, 200);
    panel_ = &Place<TGPanel>(*form_, "GPanel1", {0, 100, 300, 200});
    panel_->SetBevelOuter(TPanelBevel::bvNone);
    panel_->SetHorizontal(false);
    panel_->SetColor_1(0x00FFFFFF);
    panel_->SetColor_2(0x00FFF3EF);
    under_ = &TransparentLabel("lblUnder", {60, 30}, "Under the button", ui::Font::kBold);
    button_ = &Place<TOffice97Button>(*panel_, "btGo", {10, 10, 120, 70});
    button_->SetTransparent(true);
    button_->SetColor(kButtonFace);
    button_->SetCaption("Go");
    // With the focus, the only control that takes it, the button is
    // active and writes in its hover font.
    button_->GetFont()->SetColor(kCaption);
    button_->HoverFont()->SetColor(kCaption);
    free_ = &TransparentLabel("lblHalvorn", {180, 70}, "Halvorn",
                              ui::Font::kBold | ui::Font::kUnderline);
    form_->Show();
    MoveMouse(Screen(*form_, {295, 5}));  // off the button: it stays at rest
    Repaint();
  }

  void Repaint() {
    RedrawWindow(Window(*form_), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(20);
  }

  // What the window of `control` shows on the screen.
  std::unique_ptr<PixelSurface> ReadBack(const ui::Control& control) {
    auto surface = std::make_unique<PixelSurface>(control.Width(), control.Height(), kUntouched);
    HWND window = Window(control);
    HDC dc = GetDC(window);
    BitBlt(surface->Handle(), 0, 0, control.Width(), control.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return surface;
  }

  // The gradient's colour at a point of the panel.
  Colour Gradient(int x, int y) const {
    for (const GradientBand& band : panel_->Bands(&ui::win32::ToColorRef)) {
      if (Inside(band.rect, x, y)) return band.colour;
    }
    return kUntouched;
  }

  std::unique_ptr<ui::win32::testing::ProbeForm> form_;
  TGPanel* panel_ = nullptr;
  TLabel* under_ = nullptr;
  TOffice97Button* button_ = nullptr;
  TLabel* free_ = nullptr;
};

TEST_F(PaintersHostTest, ATransparentLabelShowsTheGradientAroundItsText) {
  Build();
  const auto shot = ReadBack(*panel_);
  const ui::Rect label = free_->BoundsRect();
  ASSERT_GT(label.Height(), 7) << "the label spans more than one band";
  int gradient = 0;
  std::set<Colour> bands;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 300; ++x) {
      if (Inside(button_->BoundsRect(), x, y)) continue;  // its own window
      const bool onLabel = Inside(label, x, y) || Inside(under_->BoundsRect(), x, y);
      if (!onLabel) {
        ASSERT_EQ(shot->At(x, y), Gradient(x, y)) << x << "," << y;
      } else if (Inside(label, x, y) && shot->At(x, y) == Gradient(x, y)) {
        ++gradient;
        bands.insert(shot->At(x, y));
      }
    }
  }
  // Around the text the gradient, in the bands the label crosses; the
  // label's own colour nowhere.
  EXPECT_GT(gradient, label.Width() * label.Height() / 2);
  EXPECT_GE(bands.size(), 2u);
  EXPECT_GT(paint_check::InkWhere(*shot, [](Colour c) { return c == kText; }, label).count, 10);
  EXPECT_EQ(InkOf(*shot, kLabelColour).count, 0);
}

TEST_F(PaintersHostTest, ATransparentFlatButtonShowsTheGradientAndTheLabelBehindIt) {
  Build();
  const auto shot = ReadBack(*button_);
  const ui::Point at{button_->Left(), button_->Top()};
  // Above and below the caption, inside the frame: the panel's rows there.
  ASSERT_NE(Gradient(at.x, at.y + 5), Gradient(at.x, at.y + 50));
  for (const int y : {5, 50}) {
    for (int x = 10; x < 100; ++x) {
      EXPECT_EQ(shot->At(x, y), Gradient(at.x + x, at.y + y)) << x << "," << y;
    }
  }
  // The label under the button, where the two overlap; the button's own
  // caption; neither the button's face nor the label's colour.
  const ui::Rect under = under_->BoundsRect();
  const ui::Rect overlap{under.left - at.x, under.top - at.y,
                         std::min(under.right, button_->BoundsRect().right) - at.x,
                         under.bottom - at.y};
  ASSERT_GT(overlap.Width(), 20);
  EXPECT_GT(InkWhere(*shot, [](Colour c) { return c == kText; }, overlap).count, 5);
  EXPECT_FALSE(InkOf(*shot, kCaption).Empty());
  EXPECT_EQ(InkOf(*shot, kButtonFace).count, 0);
  EXPECT_EQ(InkOf(*shot, kLabelColour).count, 0);
}

TEST_F(PaintersHostTest, ManyRepaintsLeaveTheGdiHandleCountUnchanged) {
  Build();
  // Beside the footer: a plain panel with bevels and a caption, a picture.
  auto& plain = Place<TPanel>(*form_, "pnlPlain", {10, 10, 130, 60});
  plain.SetBevelInner(TPanelBevel::bvLowered);
  plain.SetCaption("Plain");
  auto& image = Place<TImage>(*form_, "Image1", {150, 10, 160, 20});
  image.SetAutoSize(true);
  image.SetPicture(paint_check::Picture(2, 2, 24, {}, {0x000000FF, 0x0000FF00, 0x00FF0000, 0}));
  auto round = [&](int i) {
    under_->SetEnabled(i % 2 == 0);  // greyed every other round
    free_->SetWordWrap(i % 3 == 0);
    free_->SetTransparent(i % 4 != 0);
    panel_->SetActive(i % 5 != 0);
    panel_->SetPercent(i % 2 ? 100 : 50);
    button_->SetTransparent(i % 6 != 0);
    Repaint();
  };
  // The first paints make what GDI keeps for the process (fonts and the
  // like); counting starts after them.
  for (int i = 0; i < 12; ++i) round(i);
  const GuiObjects start = CountGuiObjects();
  ASSERT_TRUE(start.gdi > 0 || start.gdiHandleTable > 0) << "no measure of GDI objects";
  for (int i = 12; i < 12 + 600; ++i) round(i);
  const GuiObjects end = CountGuiObjects();
  EXPECT_EQ(end.gdi, start.gdi);
  EXPECT_EQ(end.gdiHandleTable, start.gdiHandleTable);
}

}  // namespace
}  // namespace controls
