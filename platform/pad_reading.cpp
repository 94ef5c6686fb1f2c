#include "platform/pad_reading.h"

#include <cmath>
#include <cstdlib>

#include "platform/keyboard.h"
#include "platform/mouse.h"

namespace veldra::platform {
namespace {

constexpr double kStickTravel = 32767.0;
constexpr int kTriggerPressed = 16384;  // half its travel

// The keys of the buttons, in PadButton's order; the guide button is no key of the game.
constexpr int kButtonKeys[kPadButtonCount] = {
    vk::kPadA,     vk::kPadB,        vk::kPadX,         vk::kPadY,          vk::kPadBack,
    0,             vk::kPadStart,    vk::kPadLeftStickButton, vk::kPadRightStickButton, vk::kPadLeftShoulder,
    vk::kPadRightShoulder, vk::kPadUp, vk::kPadDown,    vk::kPadLeft,       vk::kPadRight};

double axis(const PadReading& pad, PadAxis which) { return pad.axes[static_cast<int>(which)]; }

// A stick's deflection past the dead zone, from -1 to 1 (0 inside it).
double beyondDeadZone(double value, int deadZonePercent) {
  const double dead = kStickTravel * deadZonePercent / 100.0;
  const double magnitude = std::min(std::abs(value), kStickTravel);
  if (magnitude <= dead) return 0.0;
  return std::copysign((magnitude - dead) / (kStickTravel - dead), value);
}

void setKey(FrameInput& input, int key, bool down) {
  if (down) input.keys[static_cast<std::size_t>(key)] = true;
}

}  // namespace

void putPadIntoFrame(const PadReading& pad, const PadSettings& settings, FrameInput& input) {
  input.padPresent = pad.present;
  input.padTurn = 0;
  for (int key = vk::kFirstPadKey; key <= vk::kLastPadKey; ++key) input.keys[static_cast<std::size_t>(key)] = false;
  if (!pad.present) return;
  for (int i = 0; i < kPadButtonCount; ++i) {
    if (kButtonKeys[i] != 0) setKey(input, kButtonKeys[i], pad.buttons[i]);
  }
  setKey(input, vk::kPadLeftTrigger, axis(pad, PadAxis::LeftTrigger) >= kTriggerPressed);
  setKey(input, vk::kPadRightTrigger, axis(pad, PadAxis::RightTrigger) >= kTriggerPressed);
  const double x = beyondDeadZone(axis(pad, PadAxis::LeftX), settings.deadZonePercent);
  const double y = beyondDeadZone(axis(pad, PadAxis::LeftY), settings.deadZonePercent);
  setKey(input, vk::kPadLeftStickUp, y < 0);
  setKey(input, vk::kPadLeftStickDown, y > 0);
  setKey(input, vk::kPadLeftStickLeft, x < 0);
  setKey(input, vk::kPadLeftStickRight, x > 0);
  const double turn = beyondDeadZone(axis(pad, PadAxis::RightX), settings.deadZonePercent) * kPadFullTurn *
                      settings.turnSpeedPercent / 100.0;
  input.padTurn = static_cast<std::int32_t>(std::lround(turn / kMouseTurnUnit));
}

}  // namespace veldra::platform
