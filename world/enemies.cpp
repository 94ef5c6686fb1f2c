#include "world/enemies.h"

#include <algorithm>
#include <cmath>

#include "audio/sound_catalogue.h"
#include "core/game.h"

namespace veldra {
namespace {

constexpr double kChaseSpeed = 0.035;   // cells per frame
constexpr double kStandStillRange = 0.1;
constexpr double kTouchRange = 0.7;
constexpr int kTouchDamage = 15;

bool walkable(const Game& game, double x, double y) {
  const int column = static_cast<int>(x);
  const int row = static_cast<int>(y);
  if (column < 0 || column >= game.mapWidth || row < 0 || row >= game.mapHeight) return false;
  const std::size_t index = static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * game.mapWidth;
  return index < game.mapGrid.size() && game.mapGrid[index] != '#';
}

void chase(const Game& game, Enemy& enemy, double dx, double dy, double distance) {
  if (distance <= kStandStillRange) return;
  const double x = enemy.x + kChaseSpeed * dx / distance;
  const double y = enemy.y + kChaseSpeed * dy / distance;
  if (!walkable(game, x, y)) return;
  enemy.x = x;
  enemy.y = y;
}

void touch(Game& game) {
  game.burnCooldown = kHurtCooldownFrames;
  if (game.glaciesActive) {
    play(game.sound, sounds::kShieldBlocks);
    return;
  }
  game.hp = std::max(game.hp - kTouchDamage, 0);
  play(game.sound, sounds::kHurt);
  if (game.hp <= 0) game.alive = false;
}

}  // namespace

void updateEnemies(Game& game) {
  // From the last enemy down, so removal is safe.
  for (std::size_t i = game.enemies.size(); i-- > 0;) {
    Enemy& enemy = game.enemies[i];
    if (!enemy.alive) {
      game.enemies.erase(game.enemies.begin() + static_cast<std::ptrdiff_t>(i));
      play(game.sound, sounds::kEnemyDies);
      continue;
    }
    const double dx = game.playerX - enemy.x;
    const double dy = game.playerY - enemy.y;
    const double distance = std::sqrt(dx * dx + dy * dy);
    chase(game, enemy, dx, dy, distance);
    if (distance < kTouchRange && game.burnCooldown == 0) touch(game);
  }
}

}  // namespace veldra
