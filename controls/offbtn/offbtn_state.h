#pragma once
// What the pointer does to the flat button's visual state. Each event gives
// the new state and what the button must then do: take or release the
// mouse capture (holding it while hovered is what lets the button see the
// move that leaves it) and fire OnMouseEnter or OnMouseExit.

#include "controls/offbtn/offbtn_types.h"

namespace controls {

struct StateStep {
  enum class Capture { Keep, Take, Release };

  TOffBtnState State = TOffBtnState::bsInactive;
  Capture MouseCapture = Capture::Keep;
  bool MouseEnter = false;
  bool MouseExit = false;
  // The state changed, so the button repaints.
  bool Repaint = false;

  bool operator==(const StateStep&) const = default;
};

// `over`: the pointer is over the button (the button is the topmost control
// at that point of the screen, disabled controls included).
StateStep MouseMoveStep(TOffBtnState state, bool over);
StateStep LeftPressStep(TOffBtnState state, bool over);
// After the base handling has released the capture and run any click.
StateStep LeftReleaseStep(TOffBtnState state, bool over, int modalResult);
StateStep RightPressStep(TOffBtnState state, bool over, bool hasPopupMenu);

}  // namespace controls
