// The main window of the real program: its keys, the web-update program's
// notification, and its pixels on the screen.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/e2e/program.h"
#include "app/e2e/screenshot.h"
#include "app/e2e/tests/e2e_fixture.h"
#include "app/e2e/top_windows.h"
#include "app/e2e/user_input.h"

namespace e2e::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Optional;

// Long enough for a posted message to have been handled.
constexpr DWORD kHandledMilliseconds = 1000;
// A point of the main window with no control on it.
constexpr POINT kBlankSpot = {295, 20};

using MainWindowEndToEnd = EndToEnd;

TEST_F(MainWindowEndToEnd, EscEndsTheProgramWithExitCodeZero) {
  QuorvexSession& program = Start();
  ClickClient(program.Main(), kBlankSpot);
  PressKey(VK_ESCAPE);
  EXPECT_THAT(program.Process().WaitExit(kWindowWait), Optional(0ul));
}

// A copy of the program with the stand-in updater beside it, in a scratch
// folder of the prefix.
class UpdaterEndToEnd : public EndToEnd {
 protected:
  void SetUp() override {
    EndToEnd::SetUp();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"qr-e2e-update";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), Program().c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileW(FromBuildMachine(QR_E2E_UPDATER).c_str(), (folder + L"\\tollvane.exe").c_str(),
                  FALSE));
  }
  void TearDown() override {
    EndToEnd::TearDown();
    for (const wchar_t* name : {L"QuorvexRemover.exe", L"tollvane.exe", L"tollvane-args.txt"}) {
      DeleteFileW((folder + L"\\" + name).c_str());
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::wstring Program() const { return folder + L"\\QuorvexRemover.exe"; }
  std::wstring Record() const { return folder + L"\\tollvane-args.txt"; }

  // Clicks "Check Updates..." and returns the arguments the updater was
  // started with, once it ran ("" when it never did).
  std::string LaunchUpdater() {
    DeleteFileW(Record().c_str());
    session->Press(session->Main(), kMainUpdate);
    if (!WaitUntil([this] { return GetFileAttributesW(Record().c_str()) != INVALID_FILE_ATTRIBUTES; },
                   kWindowWait)) {
      return {};
    }
    std::string arguments;
    WaitUntil(
        [&] {
          std::ifstream in(Record().c_str());
          arguments.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
          return !arguments.empty();
        },
        kWindowWait);
    return arguments;
  }

  void Notify(WPARAM flags) {
    ASSERT_TRUE(PostMessageW(session->Main(), kUpdaterNotifyMessage, flags, 0));
  }
  bool KeepsRunning() { return !session->Process().WaitExit(kHandledMilliseconds).has_value(); }

  std::wstring folder;
};

TEST_F(UpdaterEndToEnd, OnlyTheFirstNotificationAfterALaunchMayEndTheProgram) {
  QuorvexSession& program = Start(Program());
  const auto handle = static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(program.Main()));

  Notify(kUpdaterCloseBit);
  EXPECT_TRUE(KeepsRunning()) << "a notification without a launch is ignored";

  const std::string arguments = LaunchUpdater();
  EXPECT_THAT(arguments, HasSubstr("/quorvexremover.ini /w "));
  EXPECT_THAT(arguments, EndsWith(" /w " + std::to_string(handle)));
  Notify(0);
  EXPECT_TRUE(KeepsRunning());
  Notify(kUpdaterCloseBit);
  EXPECT_TRUE(KeepsRunning()) << "the first notification ended the wait";

  EXPECT_FALSE(LaunchUpdater().empty());
  Notify(kUpdaterCloseBit);
  EXPECT_THAT(program.Process().WaitExit(kWindowWait), Optional(0ul));
}

// The footer of the main window: a gradient panel along the bottom, 41
// rows from white to #EFF3FF in bands of three rows.
TEST_F(MainWindowEndToEnd, TheFooterIsAVerticalGradientFromWhiteToPaleBlue) {
  QuorvexSession& program = Start();
  program.MoveCursorAway();
  Sleep(500);
  const Picture client = CaptureClient(program.Main());
  ASSERT_EQ(client.Width(), 530);
  ASSERT_EQ(client.Height(), 366);
  const int top = client.Height() - 41;
  struct Band {
    int row;  // from the panel's top
    COLORREF colour;
  };
  const Band bands[] = {{-1, 0x00FFFFFF}, {0, 0x00FFFFFF},  {2, 0x00FFFFFF},  {3, 0x00FFFFFE},
                        {5, 0x00FFFFFE},  {6, 0x00FFFEFD},  {36, 0x00FFF4F1}, {38, 0x00FFF4F1},
                        {39, 0x00FFF4F0}, {40, 0x00FFF4F0}};
  // Left of the copyright line, which starts at x 308.
  for (const Band& band : bands) {
    for (int x = 0; x < 300; x += 7) {
      EXPECT_EQ(client.At(x, top + band.row), band.colour) << "x " << x << ", row " << band.row;
    }
  }
}

// The Office 2000 look of a flat button that the pointer is not over: the
// focused one raised (bsActive), the others a plain outline in #A6BCFF
// one pixel inside the edge, corners cut.
struct FramePixel {
  POINT at;
  COLORREF colour;
};

constexpr COLORREF kInactiveColour = RGB(0xA6, 0xBC, 0xFF);
constexpr COLORREF kActiveColour = RGB(0x51, 0x7C, 0xFF);
constexpr COLORREF kOutlineColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kOuterRingColour = RGB(0xE7, 0xE7, 0xD6);

std::vector<FramePixel> InactiveFrame(const Button& button) {
  const int r = button.width;
  const int b = button.height;
  std::vector<FramePixel> pixels;
  for (const POINT& at : {POINT{3, 1}, POINT{2, 2}, POINT{1, 3}, POINT{1, b / 2}, POINT{1, b - 4},
                          POINT{2, b - 3}, POINT{3, b - 2}, POINT{r / 2, b - 2}, POINT{r - 4, b - 2},
                          POINT{r - 3, b - 3}, POINT{r - 2, b - 4}, POINT{r - 2, b / 2},
                          POINT{r - 2, 3}, POINT{r - 3, 2}, POINT{r - 4, 1}, POINT{r / 2, 1}}) {
    pixels.push_back({at, kInactiveColour});
  }
  return pixels;
}

// Points where only a raised frame draws: the outer ring and the cut corners.
std::vector<POINT> OutsideTheInactiveFrame(const Button& button) {
  const int r = button.width;
  const int b = button.height;
  return {{0, 0}, {1, 1}, {r / 2, 0}, {0, b / 2}, {r - 1, b / 2}, {r / 2, b - 1}, {r - 2, 1},
          {1, b - 2}};
}

std::vector<FramePixel> ActiveFrame(const Button& button) {
  const int r = button.width;
  const int b = button.height;
  return {{{r - 2, 3}, kInactiveColour},  {{2, b - 3}, kInactiveColour},
          {{r - 2, 4}, kActiveColour},    {{r - 2, b / 2}, kActiveColour},
          {{r - 3, b - 3}, kActiveColour}, {{r / 2, b - 2}, kActiveColour},
          {{3, b - 2}, kActiveColour},    {{r - 3, 2}, kOutlineColour},
          {{r / 2, 1}, kOutlineColour},   {{2, 2}, kOutlineColour},
          {{1, b / 2}, kOutlineColour},   {{1, b - 4}, kOutlineColour},
          {{2, 1}, kOuterRingColour},     {{r / 2, 0}, kOuterRingColour},
          {{0, b / 2}, kOuterRingColour}, {{r / 2, b - 1}, kOuterRingColour},
          {{r - 1, b / 2}, kOuterRingColour}};
}

void ExpectFrames(const Picture& client, const Button& focused) {
  for (const Button& button : {kMainCheck, kMainUpdate, kMainExit}) {
    const bool active = button.top == focused.top;
    for (const FramePixel& pixel : active ? ActiveFrame(button) : InactiveFrame(button)) {
      EXPECT_EQ(client.At(button.left + pixel.at.x, button.top + pixel.at.y), pixel.colour)
          << "button at " << button.left << "," << button.top << (active ? ", raised" : "")
          << ": " << pixel.at.x << "," << pixel.at.y;
    }
    if (active) continue;
    for (const POINT& at : OutsideTheInactiveFrame(button)) {
      EXPECT_NE(client.At(button.left + at.x, button.top + at.y), kInactiveColour)
          << "button at " << button.left << "," << button.top << ": " << at.x << "," << at.y;
    }
  }
}

TEST_F(MainWindowEndToEnd, TheFlatButtonsShowTheOffice2000FramesOfFocusAndRest) {
  QuorvexSession& program = Start();
  program.MoveCursorAway();
  Sleep(500);
  ExpectFrames(CaptureClient(program.Main()), kMainCheck);

  // Tab hands the focus on: "Check Me Now!" rests, "Check Updates..." rises.
  PressKey(VK_TAB);
  Sleep(500);
  ExpectFrames(CaptureClient(program.Main()), kMainUpdate);
}

}  // namespace
}  // namespace e2e::testing
