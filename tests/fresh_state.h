#pragma once
// What a test or a recording starts from: the game's process-wide latches as a new
// process has them, and no key held.

#include "platform/headless/headless.h"
#include "platform/keyboard.h"
#include "player/movement.h"
#include "player/spells.h"

namespace veldra::testing {

inline void resetProcessWideFlags() {
  ignisKeyHeld = false;
  glaciesKeyHeld = false;
  footstepHighPitch = true;
}

inline void releaseAllKeys() {
  for (int key = 0; key < platform::kVirtualKeyCount; ++key) platform::headless::setKeyDown(key, false);
}

}  // namespace veldra::testing
