#include "world/enemies.h"

#include <cmath>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/map_grid.h"
#include "world/hurt.h"
#include "world/projectiles.h"

namespace veldra {
namespace {

constexpr double kChaseSpeed = 0.035;   // cells per frame
constexpr double kStandStillRange = 0.1;
constexpr double kTouchRange = 0.7;
constexpr int kTouchDamage = 15;

// Straight at the player, both coordinates together or not at all: no sliding, no paths.
void chase(const Game& game, Enemy& enemy, double dx, double dy, double distance) {
  if (distance <= kStandStillRange) return;
  const double x = enemy.x + kChaseSpeed * dx / distance;
  const double y = enemy.y + kChaseSpeed * dy / distance;
  if (blocksAt(game, x, y)) return;
  enemy.x = x;
  enemy.y = y;
}

void removeEnemy(Game& game, std::size_t index) {
  game.enemies.erase(game.enemies.begin() + static_cast<std::ptrdiff_t>(index));
  play(game.sound, sounds::kEnemyDies);
}

}  // namespace

bool damageEnemy(Game& game, std::size_t index, int damage, EnemyDeath death) {
  Enemy& enemy = game.enemies[index];
  enemy.hp -= damage;
  if (enemy.hp > 0) return false;
  enemy.alive = false;
  if (death == EnemyDeath::AtOnce) removeEnemy(game, index);
  return true;
}

void updateEnemies(Game& game) {
  // From the last enemy down: the latest enemy acts first, so when two touch the player in
  // one frame it is the latest that hurts him (the first touch starts the cooldown), and a
  // bolt in reach of two enemies hits the latest.
  for (std::size_t i = game.enemies.size(); i-- > 0;) {
    Enemy& enemy = game.enemies[i];
    if (!enemy.alive) {
      removeEnemy(game, i);  // killed by a bolt since the last pass
      continue;
    }
    const double dx = game.playerX - enemy.x;
    const double dy = game.playerY - enemy.y;
    const double distance = std::sqrt(dx * dx + dy * dy);
    chase(game, enemy, dx, dy, distance);
    // The touch measures from where the enemy stood before its step.
    if (distance < kTouchRange && game.burnCooldown == 0) hurtPlayer(game, kTouchDamage);
    applyBoltHits(game, i);
  }
}

}  // namespace veldra
