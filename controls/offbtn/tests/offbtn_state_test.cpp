// The flat button's state machine as a table: every pointer event from
// every state, over the button and off it.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "controls/offbtn/offbtn_state.h"

namespace controls {
namespace {

using S = TOffBtnState;
using C = StateStep::Capture;

const char* Name(S s) {
  switch (s) {
    case S::bsInactive: return "bsInactive";
    case S::bsActive: return "bsActive";
    case S::bsDown: return "bsDown";
    case S::bsDownAndOut: return "bsDownAndOut";
  }
  return "?";
}

struct Row {
  const char* event;
  std::function<StateStep(S)> step;
  S from;
  S to;
  C capture;
  bool enter = false;
  bool exit = false;
};

TEST(FlatButtonStates, EveryEventFromEveryState) {
  const auto move = [](bool over) { return [over](S s) { return MouseMoveStep(s, over); }; };
  const auto press = [](bool over) { return [over](S s) { return LeftPressStep(s, over); }; };
  const auto release = [](bool over, int modal) {
    return [over, modal](S s) { return LeftReleaseStep(s, over, modal); };
  };
  const auto right = [](bool over, bool popup) {
    return [over, popup](S s) { return RightPressStep(s, over, popup); };
  };
  const Row rows[] = {
      // Hover: entering takes the capture, leaving gives it back.
      {"move over", move(true), S::bsInactive, S::bsActive, C::Take, true, false},
      {"move over", move(true), S::bsActive, S::bsActive, C::Keep},
      {"move over", move(true), S::bsDown, S::bsDown, C::Keep},
      {"move over", move(true), S::bsDownAndOut, S::bsDown, C::Keep},
      {"move off", move(false), S::bsInactive, S::bsInactive, C::Keep},
      {"move off", move(false), S::bsActive, S::bsInactive, C::Release, false, true},
      {"move off", move(false), S::bsDown, S::bsDownAndOut, C::Keep},
      {"move off", move(false), S::bsDownAndOut, S::bsDownAndOut, C::Keep},
      // Press over the button from any state; a press elsewhere changes nothing.
      {"press over", press(true), S::bsInactive, S::bsDown, C::Take},
      {"press over", press(true), S::bsActive, S::bsDown, C::Take},
      {"press over", press(true), S::bsDown, S::bsDown, C::Take},
      {"press over", press(true), S::bsDownAndOut, S::bsDown, C::Take},
      {"press off", press(false), S::bsActive, S::bsActive, C::Keep},
      {"press off", press(false), S::bsDownAndOut, S::bsDownAndOut, C::Keep},
      // Release: hovered again unless off the button or closing the form.
      {"release over", release(true, 0), S::bsDown, S::bsActive, C::Take},
      {"release over", release(true, 0), S::bsInactive, S::bsActive, C::Take},
      {"release over, modal 2", release(true, 2), S::bsDown, S::bsInactive, C::Release},
      {"release off", release(false, 0), S::bsDownAndOut, S::bsInactive, C::Release},
      {"release off", release(false, 0), S::bsActive, S::bsInactive, C::Release},
      // A right press over a button with a popup menu puts it at rest.
      {"right over, popup", right(true, true), S::bsActive, S::bsInactive, C::Release},
      {"right over, popup", right(true, true), S::bsDown, S::bsInactive, C::Release},
      {"right over, no popup", right(true, false), S::bsActive, S::bsActive, C::Keep},
      {"right off, popup", right(false, true), S::bsActive, S::bsActive, C::Keep},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.event) + " from " + Name(row.from));
    const StateStep step = row.step(row.from);
    EXPECT_EQ(Name(step.State), std::string(Name(row.to)));
    EXPECT_EQ(step.MouseCapture, row.capture);
    EXPECT_EQ(step.MouseEnter, row.enter);
    EXPECT_EQ(step.MouseExit, row.exit);
    EXPECT_EQ(step.Repaint, row.to != row.from) << "a repaint exactly when the state changed";
  }
}

}  // namespace
}  // namespace controls
