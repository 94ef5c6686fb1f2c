#pragma once
// A pad as its backend reads it (SDL's game controller, XInput), and how a reading goes into
// the frame record: buttons as keys, the left stick as four keys past the dead zone, the
// right stick as a turn scaled so that full deflection turns as a held turn key does.

#include <cstdint>

#include "platform/frame_input.h"
#include "platform/pad.h"

namespace veldra::platform {

// The buttons in the game-controller order SDL gives them.
enum class PadButton : int {
  A, B, X, Y, Back, Guide, Start, LeftStick, RightStick, LeftShoulder, RightShoulder, Up, Down, Left, Right
};
constexpr int kPadButtonCount = 15;

// The axes: sticks from -32768 to 32767 (down and right positive), triggers 0 to 32767.
enum class PadAxis : int { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger };
constexpr int kPadAxisCount = 6;

struct PadReading {
  bool present = false;
  bool buttons[kPadButtonCount] = {};
  std::int16_t axes[kPadAxisCount] = {};
};

// The turn of one frame at the right stick's full deflection and full speed: a held turn key's.
constexpr double kPadFullTurn = 0.05;  // radians

void putPadIntoFrame(const PadReading& pad, const PadSettings& settings, FrameInput& input);

}  // namespace veldra::platform
