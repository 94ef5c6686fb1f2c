#pragma once
// Time: a millisecond tick count and a blocking sleep. Called by the frame loop, the
// front end and the drawing code (sky, blinking labels).

#include <cstdint>

namespace veldra::platform {

// Milliseconds since some fixed start; wraps after about 49.7 days.
std::uint32_t tickCount();

// Blocks the calling thread for about this many milliseconds.
void sleepMilliseconds(std::uint32_t milliseconds);

}  // namespace veldra::platform
