#pragma once
// The game's only source of randomness: the Windows C runtime's generator, so that every
// platform draws the same sequence and a test can replay a frame exactly.

namespace veldra::platform {

// Next value in 0..32767 (state = state * 214013 + 2531011; value = (state >> 16) & 0x7FFF).
int rand15();

// Sets the generator's state; the state at start is 1.
void seedRand15(unsigned seed);

// The generator's state now (what seedRand15 would set to continue from here).
unsigned rand15State();

}  // namespace veldra::platform
