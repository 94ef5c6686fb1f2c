#pragma once
// Mouse look, on a terminal or in the Windows console: the pointer's sideways motion becomes
// a turn of the view, in whole units of the frame record, and a pointer resting in the
// window's outermost column keeps turning (the pointer cannot leave the window, so that is
// how a turn goes on and on without lifting the mouse). Pure: no system calls.

#include <cstdint>

#include "platform/mouse.h"

namespace veldra::platform {

// A column of motion turns the view this far at speed 100: across an 80-column window, a
// little under a half turn. Found by playing: a flick across half the window turns about
// a right angle, and a column's step (1.4 degrees) never shows as a jump.
constexpr double kTurnPerColumn = 0.025;  // radians

struct MouseLookState {
  double scale = 1.0;  // the player's speed, as a factor
  double owed = 0.0;   // turn not yet handed out, in kMouseTurnUnit (less than one)
};

MouseLookState mouseLookFor(const MouseLook& settings);

// The turn `columnsMoved` of motion makes, in kMouseTurnUnit; what is less than a unit is
// kept for the next frame, so slow motion is not lost.
std::int32_t turnForMotion(MouseLookState& look, double columnsMoved);

// -1 while the pointer rests in the window's leftmost column, +1 in its rightmost, else 0
// (0 too while where it is is not known). Columns count from 0, in fractions where a
// terminal reports pixels.
int pointerEdge(bool known, double column, int windowColumns);

}  // namespace veldra::platform
