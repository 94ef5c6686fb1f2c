#pragma once
// The platform's life, run by the program: started before anything else touches the
// platform, given back on the way out. Between the two, beginPlay takes the screen and the
// keyboard for the picture. Every way out (stop, exitProcess, a signal, a crash, the end of
// the process) gives back what was taken; nothing is taken on first use.

#include <cstdint>

#include "platform/mouse.h"

namespace veldra::platform {

// Off: the terminal or console is never touched, nothing is written to standard output,
// no sound device is opened, sleeps return at once and keys are not read. For checking a
// recording as fast as it goes.
enum class Devices { On, Off };

// How a terminal is sent colours: as it asks through its environment, or as told (its own
// sixteen, the 256-colour palette, 24-bit). The Windows console keeps its own palette.
enum class Colours { AsTerminalSays, Sixteen, Palette256, TrueColour };

// Sets the platform up: on a terminal the session (where keys come from, the handlers that
// give the terminal back on every way out), on Windows the console's state to give back.
// The first frame record holds the clock and the window size as they are now.
// The mouse turns the view and its buttons are keys unless the player turned it off.
void start(Devices devices, Colours colours = Colours::AsTerminalSays, const MouseLook& mouse = {});

// Takes the screen and the keyboard for play: the alternate screen, raw input and the
// keyboard protocol on a terminal, code page 437 on the Windows console.
void beginPlay();

// Gives back everything beginPlay and the game took. Safe to call more than once.
void stop();

// The pause after the program's farewell line, before it ends: this many milliseconds,
// unless the environment variable VELDRA_FAREWELL_MS (digits only) says how long instead.
// Scripts that drive the game and check how it ended set it to 0.
void farewellPause(std::uint32_t milliseconds);

}  // namespace veldra::platform
