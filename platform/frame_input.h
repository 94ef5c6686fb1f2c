#pragma once
// Everything the game reads from the platform in a frame, as one record: the keys held (a
// pad's buttons among them), the mouse's and the pad's turns, the tick count and the window
// size. The platform takes one record at the top of every frame
// and answers every keyboard, clock and window query of that frame from it, in play as in
// recording, replay and verification. A recorder watches these records; a recording's
// player serves its own in place of the devices'.

#include <array>
#include <cstdint>

#include "platform/keyboard.h"
#include "platform/mouse.h"

namespace veldra::platform {

struct FrameInput {
  std::array<bool, kVirtualKeyCount> keys{};
  bool keysExact = true;  // see keysExact() in keyboard.h
  std::int32_t mouseTurn = 0;  // the pointer's turn of the view in this frame, in kMouseTurnUnit
  std::int8_t pointerEdge = 0;  // see pointerAtEdge() in mouse.h
  bool padPresent = false;      // see pad.h; the pad's buttons are among the keys
  std::int32_t padTurn = 0;     // the right stick's turn of the view, in kMouseTurnUnit
  std::uint32_t ticks = 0;
  bool console = false;  // the window size is known (the console query succeeds)
  int columns = 0;
  int rows = 0;
  bool operator==(const FrameInput&) const = default;
};

// Sees what the game is given, once per frame, before the game reads it.
class FrameInputObserver {
 public:
  virtual ~FrameInputObserver() = default;
  virtual void frameRead(const FrameInput& input) = 0;
};

// Stands in for the devices: given what they gave this frame (nothing but zeros while the
// devices are off), fills in what the game shall see. False when it has nothing more to
// give: the game then plays no further frame.
class FrameInputSource {
 public:
  virtual ~FrameInputSource() = default;
  virtual bool nextFrame(const FrameInput& devices, FrameInput& input) = 0;
};

// At most one of each; nullptr removes it.
void setFrameInputObserver(FrameInputObserver* observer);
void setFrameInputSource(FrameInputSource* source);

// Takes this frame's record: reads the devices (unless they are off), lets the source stand
// in and the observer see it. Called once at the top of every frame by the frame loop.
// False when the source has nothing more to give.
bool beginFrame();

}  // namespace veldra::platform
