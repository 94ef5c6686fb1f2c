#include "world/hurt.h"

#include <algorithm>

#include "audio/sound_catalogue.h"
#include "core/game.h"

namespace veldra {

bool hurtPlayer(Game& game, int damage) {
  game.burnCooldown = kHurtCooldownFrames;
  if (game.glaciesActive) {
    play(game.sound, sounds::kShieldBlocks);
    return false;
  }
  game.hp = std::max(game.hp - damage, 0);
  play(game.sound, sounds::kHurt);
  if (game.hp <= 0) game.alive = false;
  return true;
}

}  // namespace veldra
