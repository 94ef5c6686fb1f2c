#pragma once

#include <cstddef>

namespace veldra {

struct Game;

// The enemy pass: removes enemies killed by bolts last frame, moves the rest straight at
// the player, lets them hurt him on touch and applies this frame's bolt hits.
void updateEnemies(Game& game);

// When a killed enemy leaves the list. A bolt's kill stays for the rest of the frame and
// the next enemy pass removes it, with the death tone: until then it is unseen but still
// absorbs bolts. A kill by the staff or by HERBA's spray leaves at once, with the tone.
enum class EnemyDeath { NextEnemyPass, AtOnce };

// Takes `damage` from the enemy's health; at 0 or below it dies and leaves as `death`
// says. True when it died.
bool damageEnemy(Game& game, std::size_t index, int damage, EnemyDeath death);

}  // namespace veldra
