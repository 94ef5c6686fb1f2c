#include "world/update_world.h"

#include "core/game.h"
#include "player/messages.h"
#include "world/enemies.h"

namespace veldra {

void updateWorld(Game& game) {
  ageMessages(game);
  updateEnemies(game);
}

}  // namespace veldra
