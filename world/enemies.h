#pragma once

#include <cstddef>

namespace veldra {

struct Game;

// The enemy pass: removes enemies killed by bolts last frame, moves the rest straight at
// the player, lets them hurt him on touch and applies this frame's bolt hits.
void updateEnemies(Game& game);

// Removes a just-killed enemy at once, with the death tone (the staff and HERBA's spray).
void removeEnemyNow(Game& game, std::size_t index);

}  // namespace veldra
