#pragma once
// The player's shared hurt cooldown: fires and enemy touches both start it, and neither can
// hurt him again until it has run out.

namespace veldra {

struct Game;

constexpr int kHurtCooldownFrames = 25;

// Starts the cooldown and hurts the player: a running GLACIES shield takes the blow (its
// sound, no damage) and the result is false; otherwise health drops, never below 0, with
// the hurt sound, and the player dies at 0.
bool hurtPlayer(Game& game, int damage);

}  // namespace veldra
