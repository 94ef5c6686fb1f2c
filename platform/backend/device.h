#pragma once
// The backend's own devices behind the game's keyboard, clock and window queries, and its
// part of the platform's life. Only platform/ calls these: the game asks through
// keyboard.h, clock.h and console.h, whose answers come from the frame record.

#include <cstdint>

#include "platform/console.h"
#include "platform/frame_input.h"
#include "platform/lifetime.h"
#include "platform/mouse.h"

namespace veldra::platform::device {

void start(Colours colours, const MouseLook& mouse);  // the devices are on
void beginPlay();
void stop();

bool keyboardAvailable();
// Reads whatever input arrived since the last call: every key's state for this frame. True
// when that state is exact (see keysExact in keyboard.h).
bool readKeyboard(std::array<bool, kVirtualKeyCount>& keys);
// The pointer's turn of the view since the last read (in kMouseTurnUnit) and whether it
// rests at the window's edge, into the record; read right after the keys. Nothing where
// there is no mouse, or the player turned it off.
void readMouse(FrameInput& input);
std::uint32_t tickCount();
bool consoleWindowSize(ConsoleHandle output, int& columns, int& rows);

}  // namespace veldra::platform::device

namespace veldra::platform {

// The record this frame's queries are answered from. The headless backend changes it when a
// test changes its devices in the middle of a frame, unless a source serves the frames.
FrameInput& currentFrameInput();
bool frameInputServed();

// The record before the first frame: the clock and the window as they are at start (a
// recording's header is taken then), no key down; all zeros while the devices are off.
void startFrameInput();

}  // namespace veldra::platform
