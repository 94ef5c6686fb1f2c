// Pads through SDL's game controller: SDL's own virtual controller (no device needed) is read
// as the game reads a pad, plugged in, pulled out and plugged in again.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "platform/keyboard.h"
#include "platform/pad_reading.h"
#include "platform/terminal/sdl_pad.h"

namespace veldra::platform {
namespace {

// A virtual game controller with every button and axis SDL names.
struct VirtualPad {
  int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                        SDL_CONTROLLER_BUTTON_MAX, 0);
  SDL_Joystick* stick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
  ~VirtualPad() { unplug(); }
  void unplug() {
    if (stick != nullptr) SDL_JoystickClose(stick);
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    stick = nullptr;
    index = -1;
  }
};

TEST(GamepadSdlTest, AVirtualPadIsReadAsThePadWhilePluggedIn) {
  ASSERT_TRUE(terminal::openSdlPads()) << "libSDL2 is installed with its headers";
  EXPECT_FALSE(terminal::readSdlPad().present) << "no pad yet";
  for (int plugging = 0; plugging < 2; ++plugging) {
    VirtualPad pad;
    ASSERT_NE(pad.stick, nullptr) << SDL_GetError();
    // SDL takes an axis's first value as where it rests: the pad is opened before it moves.
    ASSERT_TRUE(terminal::readSdlPad().present) << "plugged in " << plugging + 1 << " times";
    SDL_JoystickSetVirtualButton(pad.stick, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(pad.stick, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1);
    SDL_JoystickSetVirtualAxis(pad.stick, SDL_CONTROLLER_AXIS_LEFTY, -32768);  // pushed forward
    SDL_JoystickSetVirtualAxis(pad.stick, SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    SDL_JoystickSetVirtualAxis(pad.stick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
    const PadReading reading = terminal::readSdlPad();
    FrameInput input;
    putPadIntoFrame(reading, PadSettings{}, input);
    for (const int key : {vk::kPadA, vk::kPadRightShoulder, vk::kPadLeftStickUp, vk::kPadLeftTrigger}) {
      EXPECT_TRUE(input.keys[key]) << key;
    }
    for (const int key : {vk::kPadB, vk::kPadLeftStickDown, vk::kPadStart}) EXPECT_FALSE(input.keys[key]) << key;
    EXPECT_EQ(input.padTurn, 50000) << "full deflection turns 0.05 rad, as a held turn key";
    pad.unplug();
    EXPECT_FALSE(terminal::readSdlPad().present) << "pulled out";
  }
}

TEST(GamepadSdlTest, TheDeadZoneAndTheTurnSpeedShapeTheSticks) {
  PadReading pad;
  pad.present = true;
  const auto frameOf = [&](int leftX, int rightX, PadSettings settings) {
    pad.axes[static_cast<int>(PadAxis::LeftX)] = static_cast<std::int16_t>(leftX);
    pad.axes[static_cast<int>(PadAxis::RightX)] = static_cast<std::int16_t>(rightX);
    FrameInput input;
    putPadIntoFrame(pad, settings, input);
    return input;
  };
  const PadSettings usual;  // a quarter of the travel is rest
  EXPECT_FALSE(frameOf(-8000, -8000, usual).keys[vk::kPadLeftStickLeft]);
  EXPECT_EQ(frameOf(-8000, -8000, usual).padTurn, 0);
  EXPECT_TRUE(frameOf(-9000, 0, usual).keys[vk::kPadLeftStickLeft]);
  EXPECT_EQ(frameOf(0, -32768, usual).padTurn, -50000) << "full left, never beyond";
  EXPECT_EQ(frameOf(0, 32767, PadSettings{true, 25, 200}).padTurn, 100000);
  const int halfway = 8192 + (32767 - 8192) / 2;
  EXPECT_NEAR(frameOf(0, halfway, usual).padTurn, 25000, 2);
  pad.present = false;
  EXPECT_FALSE(frameOf(-32768, 32767, usual).keys[vk::kPadLeftStickLeft]) << "no pad, no keys";
}

}  // namespace
}  // namespace veldra::platform
