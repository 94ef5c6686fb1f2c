#pragma once

namespace veldra {

struct Game;

constexpr int kHurtCooldownFrames = 25;

// The enemy pass: removes enemies killed last frame, moves the rest straight at the player
// and lets them hurt him on touch.
void updateEnemies(Game& game);

}  // namespace veldra
