#include "world/update_world.h"

#include "core/game.h"
#include "core/messages.h"
#include "world/enemies.h"
#include "world/hazards.h"
#include "world/particles.h"
#include "world/projectiles.h"
#include "world/status_effects.h"

namespace veldra {

// The order is part of the game: particles born by the fires already move this frame, a
// bolt that hits a wall can no longer hit an enemy, and an enemy a bolt kills is removed
// by the next frame's enemy pass.
void updateWorld(Game& game) {
  ageMessages(game);             // 1. the message log
  emitFireFlicker(game);         // 2. fire emission
  advanceAttackAnimation(game);  // 3. the staff's swing
  stepParticles(game);           // 4. particles move, fade and strike
  regenerateMana(game);          // 5. mana (and an upgraded shield's healing)
  burnInFire(game);              // 6. hurt cooldown and fire contact
  flyProjectiles(game);          // 7. bolt flight
  updateEnemies(game);           // 8. the enemy pass, with bolt hits
  tickGlacies(game);             // 9. the shield's time
  playAmbientSound(game);        // 10. outdoor chirps
}

}  // namespace veldra
