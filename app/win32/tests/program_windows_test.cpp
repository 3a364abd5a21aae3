// The program's windows on real Win32 windows, built from the stored forms
// and resources the program carries: what the main window shows at the
// places its forms give, and whole checks that leave nothing behind.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "app/application_title.h"
#include "app/tests/machine_seeds.h"
#include "app/win32/program_painters.h"
#include "app/win32/win32_desktop.h"
#include "app/windows/found.h"
#include "app/windows/mainr.h"
#include "controls/offbtn/office97_button.h"
#include "ui/win32/testing/pixel_surface.h"
#include "ui/win32/tests/host_fixture.h"

namespace app::testing {
namespace {

using ui::Colour;
using ui::win32::testing::PixelSurface;

constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>(r | (g << 8) | (b << 16));
}

class ProgramWindowsTest : public ui::win32::testing::HostTest {
 protected:
  ProgramWindowsTest() {
    application_.SetTitle(kApplicationTitle);
    RegisterProgramPainters(windows_);
    AddBaseSystem(machine_);
    AddInfection(machine_);
    main_ = std::make_unique<TfrmMain>(windows_, desktop_, context_);
    application_.SetMainForm(main_.get());
    // The pointer away from every button, so that none is hovered.
    SetCursorPos(0, 0);
    main_->Show();
    Pump(100);
  }
  ~ProgramWindowsTest() override { application_.SetMainForm(nullptr); }

  // What the main window's client area shows.
  std::unique_ptr<PixelSurface> ReadBack() {
    HWND window = Window(*main_);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(50);
    auto surface = std::make_unique<PixelSurface>(530, 366, Rgb(1, 2, 3));
    HDC dc = GetDC(window);
    BitBlt(surface->Handle(), 0, 0, 530, 366, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return surface;
  }

  platform::memory::MemoryMachine machine_;
  scanner::ScanContext context_{machine_.machine(), {}};
  Win32Desktop desktop_{application_, windows_};
  std::unique_ptr<TfrmMain> main_;
};

TEST_F(ProgramWindowsTest, FooterFadesFromWhiteToTheButtonFaceInThreePixelBands) {
  const auto shot = ReadBack();
  // 41 rows from white to RGB(239, 243, 255): the red channel falls by 16,
  // so 13 bands of 3 rows, each red 1.23 and green 0.92 lower than the
  // first (rounded toward zero), and a last band of 2 rows.
  for (int row = 0; row < 41; ++row) {
    SCOPED_TRACE("footer row " + std::to_string(row));
    const int band = row / 3;
    const Colour expected = Rgb(255 - 123 * band / 100, 255 - 92 * band / 100, 255);
    for (int x : {0, 100, 290, 529}) EXPECT_EQ(shot->At(x, 325 + row), expected) << "x " << x;
  }
  EXPECT_EQ(shot->At(10, 324), Rgb(255, 255, 255)) << "the window's white above the footer";
}

// The frames of a 174 x 71 flat button: inactive, a pale outline one pixel
// inside the edge with its corners cut; active (the focused button), a
// white top-left and a blue bottom-right line in its place.
TEST_F(ProgramWindowsTest, ButtonsShowTheOffice2000FramesTheFocusedOneActive) {
  auto& check = dynamic_cast<controls::TOffice97Button&>(*main_->FindComponent("btCheck"));
  ASSERT_TRUE(Pump(1000, [&] { return windows_.Focused() == &check; }))
      << "the first button in tab order takes the focus";
  const auto shot = ReadBack();
  const Colour pale = Rgb(166, 188, 255);
  const Colour blue = Rgb(81, 124, 255);
  const Colour white = Rgb(255, 255, 255);
  const Colour face = Rgb(239, 243, 255);
  const struct {
    int top;
    Colour topLeft, bottomRight;
  } kButtons[] = {{54, white, blue}, {146, pale, pale}, {237, pale, pale}};
  for (const auto& b : kButtons) {
    SCOPED_TRACE("button at top " + std::to_string(b.top));
    auto at = [&](int x, int y) { return shot->At(333 + x, b.top + y); };
    for (int x = 4; x <= 169; x += 11) {
      EXPECT_EQ(at(x, 1), b.topLeft) << x;
      EXPECT_EQ(at(x, 69), b.bottomRight) << x;
    }
    for (int y = 4; y <= 66; y += 8) {
      EXPECT_EQ(at(1, y), b.topLeft) << y;
      EXPECT_EQ(at(172, y), b.bottomRight) << y;
    }
    EXPECT_EQ(at(20, 6), face) << "inside: the button face";
  }
  // The inactive outline's corners are cut over two pixels.
  EXPECT_EQ(shot->At(333 + 2, 146 + 2), pale);
  EXPECT_EQ(shot->At(333 + 1, 146 + 1), face);
  EXPECT_EQ(shot->At(333 + 0, 146 + 35), face) << "outside the outline: the button face";
}

TEST_F(ProgramWindowsTest, TheWindowsCarryTheProgramIcon) {
  const auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(Window(*main_), GCLP_HICON));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP colour{};
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXICON)) << "the program's own icon, sized";
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST_F(ProgramWindowsTest, TwentyChecksLeftByExitLeaveNoWindowOrGdiObject) {
  int shown = 0;
  // The user: Exit in every results dialog that appears.
  const int user = windows_.StartTimer(20, [&] {
    auto* found = dynamic_cast<TfrmFound*>(windows_.ControlOf(GetActiveWindow()));
    if (found == nullptr || !found->Modal()) return;
    ++shown;
    found->btExitClick(*found);
  });
  ExpectCyclesLeaveNothing([&] { main_->btCheckClick(*main_); }, 19);
  windows_.StopTimer(user);
  EXPECT_EQ(shown, 20);
  EXPECT_TRUE(machine_.files.Exists(kMrxNetDriver)) << "Exit removes nothing";
}

}  // namespace
}  // namespace app::testing
