#pragma once
// The random draws the game makes, each a fresh value from the platform's generator, so a
// test that seeds it replays a frame exactly.

#include "platform/random.h"

namespace veldra {

// A fraction in [0, 1]: the generator's value over its largest value.
inline double randomFraction() { return platform::rand15() / 32767.0; }

// `scale` times a fraction in [0, 1], multiplied before the division (so not always the
// same last bit as scale * randomFraction()).
inline double randomShareOf(double scale) { return scale * platform::rand15() / 32767.0; }

// The remainder of a fresh value divided by n (n > 0).
inline int randomBelow(int n) { return platform::rand15() % n; }

// True in about `percent` of 100 draws.
inline bool randomChance(int percent) { return randomBelow(100) < percent; }

// A centred offset in [-scale / 2, scale / 2].
inline double randomSpread(double scale) { return (randomFraction() - 0.5) * scale; }

}  // namespace veldra
