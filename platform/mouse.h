#pragma once
// Mouse look. Where the terminal reports the mouse, moving it sideways turns the view and
// its buttons are keys (vk::kLeftButton, vk::kRightButton, read with keyDown). The turn of a
// frame is read once, into the frame record taken at the top of the frame.

#include <cstdint>

namespace veldra::platform {

// What the player chose on the command line.
struct MouseLook {
  bool on = true;
  int speedPercent = 100;  // of the default turn per column of motion
};
constexpr int kSlowestMouseSpeed = 1;
constexpr int kFastestMouseSpeed = 1000;

// The frame record holds the turn as a whole number of these, so that a recording holds
// exactly what the game was given.
constexpr double kMouseTurnUnit = 1e-6;  // radians

// The view's turn the pointer asked for in this frame, in radians; positive turns right.
double mouseTurn();

// -1 while the pointer rests in the window's leftmost column, +1 in its rightmost, else 0:
// there it turns the view on as a held turn key would.
int pointerAtEdge();

}  // namespace veldra::platform
