#pragma once
// The level's fires and its outdoor air.

namespace veldra {

struct Game;

// Step 2: each fire flickers now and then, while there are not too many particles.
void emitFireFlicker(Game& game);

// Step 6: the shared hurt cooldown runs down, and the first fire within reach burns the
// player once the cooldown is out (a running shield takes the blow instead).
void burnInFire(Game& game);

// Step 10: faint falling chirps on levels whose file name starts with 'o' or 'O'.
void playAmbientSound(Game& game);

}  // namespace veldra
