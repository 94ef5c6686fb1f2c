#pragma once
// Gamepads through SDL2's game-controller interface, where libSDL2 is installed: loaded at
// run time as ALSA is, with only the game-controller and joystick subsystems (no window, no
// video, no sound, no signal handlers of SDL's). SDL's mapping database names the buttons of
// hundreds of pads alike.

#include "platform/pad_reading.h"

namespace veldra::platform::terminal {

// Loads the library and opens the subsystems; false where there is no library (or it will
// not start), and then no pad is ever read.
bool openSdlPads();

// Takes SDL's events and reads the first game controller attached: one plugged in since the
// last read is opened, one pulled out let go of. Nothing present where none is attached or
// SDL is not open.
PadReading readSdlPad();

}  // namespace veldra::platform::terminal
