#include "player/staff.h"

#include <cmath>
#include <numbers>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/geometry.h"
#include "core/map_grid.h"
#include "core/object_kinds.h"
#include "world/enemies.h"
#include "world/particles.h"
#include "core/colours.h"

namespace veldra {
namespace {

constexpr double kReach = 1.2;          // cells ahead of the player
constexpr double kHitRadius = 0.6;      // around the strike point, strictly below
constexpr double kWallPullBack = 0.2;   // impact shown this far in front of a struck wall
constexpr double kTargetPullBack = 0.3; // and this far in front of a struck enemy or object
constexpr int kDamage = 35;

constexpr int kWoundParticles = 15;
constexpr Burst kWoundSpray{false, 1.2, 0.04, 0.1, 10, 6};
constexpr std::uint16_t kWoundColour = colour::kLightRed;
constexpr int kDebrisParticles = 20;
constexpr Burst kDebris{false, 1.5, 0.04, 0.08, 12, 6};
constexpr int kStaffImpactParticles = 40;
constexpr Burst kImpactSpray{false, 1.2, 0.05, 0.12, 10, 8};
constexpr std::uint16_t kStaffImpactColour = colour::kLightBlue;

struct Strike {
  double x, y;        // the strike point
  double ux, uy;      // the facing
  double impactX, impactY;
};

// The latest living enemy within reach of the strike point; -1 for none.
std::ptrdiff_t struckEnemy(const Game& game, const Strike& strike) {
  for (std::size_t i = game.enemies.size(); i-- > 0;) {
    const Enemy& enemy = game.enemies[i];
    if (enemy.alive && withinReach(enemy.x, enemy.y, strike.x, strike.y, kHitRadius)) {
      return static_cast<std::ptrdiff_t>(i);
    }
  }
  return -1;
}

// The latest map object within reach of the strike point; -1 for none.
std::ptrdiff_t struckObject(const Game& game, const Strike& strike) {
  for (std::size_t i = game.mapObjects.size(); i-- > 0;) {
    const MapObject& object = game.mapObjects[i];
    if (withinReach(object.x, object.y, strike.x, strike.y, kHitRadius)) return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

// Particles fly back toward the player, who faces away from them.
double backward(const Game& game) { return game.playerAngle + std::numbers::pi; }

void woundEnemy(Game& game, std::size_t index, Strike& strike) {
  const Enemy& enemy = game.enemies[index];
  strike.impactX = enemy.x - kTargetPullBack * strike.ux;
  strike.impactY = enemy.y - kTargetPullBack * strike.uy;
  play(game.sound, sounds::kStaffHitsEnemy);
  emitBurst(game, enemy.x, enemy.y, backward(game), kWoundSpray, kWoundColour, kWoundParticles);
  damageEnemy(game, index, kDamage, EnemyDeath::AtOnce);
}

void breakObject(Game& game, std::size_t index, Strike& strike) {
  const MapObject object = game.mapObjects[index];
  strike.impactX = object.x - kTargetPullBack * strike.ux;
  strike.impactY = object.y - kTargetPullBack * strike.uy;
  if (!isBreakable(object.glyph)) return;
  emitBurst(game, object.x, object.y, game.playerAngle, kDebris, object.colour, kDebrisParticles);
  game.mapObjects.erase(game.mapObjects.begin() + static_cast<std::ptrdiff_t>(index));
}

void impact(Game& game, const Strike& strike) {
  play(game.sound, sounds::kStaffStrikes);
  emitBurst(game, strike.impactX, strike.impactY, backward(game), kImpactSpray, kStaffImpactColour, kStaffImpactParticles);
}

void strike(Game& game) {
  game.attackFrame = 1;
  Strike strike;
  strike.ux = std::cos(game.playerAngle);
  strike.uy = std::sin(game.playerAngle);
  strike.x = game.playerX + kReach * strike.ux;
  strike.y = game.playerY + kReach * strike.uy;
  strike.impactX = strike.x;
  strike.impactY = strike.y;
  // Only the strike point's own cell counts as a wall, never the way to it.
  const bool wallHit = isWallAt(game, strike.x, strike.y);
  if (wallHit) {
    strike.impactX = strike.x - kWallPullBack * strike.ux;
    strike.impactY = strike.y - kWallPullBack * strike.uy;
  }
  if (const std::ptrdiff_t enemy = struckEnemy(game, strike); enemy >= 0) {
    woundEnemy(game, static_cast<std::size_t>(enemy), strike);
  } else if (!wallHit) {
    const std::ptrdiff_t object = struckObject(game, strike);
    if (object < 0) {
      play(game.sound, sounds::kStaffMisses);
      return;
    }
    breakObject(game, static_cast<std::size_t>(object), strike);
  }
  impact(game, strike);
}

}  // namespace

void swingStaff(Game& game) {
  const bool down = game.command.staff;
  // A press during a swing is used up: it does not strike when the swing ends.
  if (down && !game.attackKeyHeld && game.attackFrame == 0) strike(game);
  game.attackKeyHeld = down;
}

}  // namespace veldra
