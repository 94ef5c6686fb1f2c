#pragma once
// The gamepad. Its buttons, and its left stick pushed past the dead zone, are keys of the
// frame record (vk::kPadA and on, read with keyDown); the right stick's turn of the view
// and whether a pad is there are read once into the same record at the top of the frame.

#include <cstdint>

namespace veldra::platform {

// What the player chose in the settings file.
struct PadSettings {
  bool on = true;
  int deadZonePercent = 25;    // of a stick's travel, where it counts as at rest
  int turnSpeedPercent = 100;  // of the turn keys' speed, at the right stick's full deflection
};
constexpr int kLargestPadDeadZone = 90;
constexpr int kSlowestPadTurn = 1;
constexpr int kFastestPadTurn = 1000;

// Set once, before start.
void usePad(const PadSettings& settings);
const PadSettings& padSettings();

// Whether a pad is plugged in and read in this frame.
bool padPresent();

// The view's turn the right stick asked for in this frame, in radians; positive turns right.
double padTurn();

}  // namespace veldra::platform
