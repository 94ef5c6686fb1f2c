#pragma once
// Time: a millisecond tick count and a blocking sleep. Called by the frame loop, the
// front end and the drawing code (sky, blinking labels).

#include <cstdint>

namespace veldra::platform {

// Milliseconds since some fixed start; wraps after about 49.7 days.
std::uint32_t tickCount();

// Blocks the calling thread for about this many milliseconds.
void sleepMilliseconds(std::uint32_t milliseconds);

// The pause after the program's farewell line, before it ends: this many milliseconds,
// unless the environment variable VELDRA_FAREWELL_MS (digits only) says how long instead.
// Scripts that drive the game and check how it ended set it to 0.
void farewellPause(std::uint32_t milliseconds);

}  // namespace veldra::platform
