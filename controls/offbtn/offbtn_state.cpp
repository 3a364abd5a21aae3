#include "controls/offbtn/offbtn_state.h"

namespace controls {
namespace {

StateStep From(TOffBtnState before, TOffBtnState after, StateStep::Capture capture) {
  StateStep step;
  step.State = after;
  step.MouseCapture = capture;
  step.Repaint = after != before;
  return step;
}

}  // namespace

StateStep MouseMoveStep(TOffBtnState state, bool over) {
  const TOffBtnState before = state;
  // Dragging off a pressed button and back onto it.
  if (state == TOffBtnState::bsDown && !over) state = TOffBtnState::bsDownAndOut;
  if (state == TOffBtnState::bsDownAndOut && over) state = TOffBtnState::bsDown;

  StateStep step = From(before, state, StateStep::Capture::Keep);
  if (state == TOffBtnState::bsInactive && over) {
    step = From(before, TOffBtnState::bsActive, StateStep::Capture::Take);
    step.MouseEnter = true;
  } else if (state == TOffBtnState::bsActive && !over) {
    step = From(before, TOffBtnState::bsInactive, StateStep::Capture::Release);
    step.MouseExit = true;
  }
  return step;
}

StateStep LeftPressStep(TOffBtnState state, bool over) {
  if (!over) return From(state, state, StateStep::Capture::Keep);
  return From(state, TOffBtnState::bsDown, StateStep::Capture::Take);
}

StateStep LeftReleaseStep(TOffBtnState state, bool over, int modalResult) {
  // A click that closes the form leaves the button at rest.
  if (over && modalResult == 0) return From(state, TOffBtnState::bsActive, StateStep::Capture::Take);
  return From(state, TOffBtnState::bsInactive, StateStep::Capture::Release);
}

StateStep RightPressStep(TOffBtnState state, bool over, bool hasPopupMenu) {
  if (!over || !hasPopupMenu) return From(state, state, StateStep::Capture::Keep);
  return From(state, TOffBtnState::bsInactive, StateStep::Capture::Release);
}

}  // namespace controls
