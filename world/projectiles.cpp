#include "world/projectiles.h"

#include <cmath>

#include "core/game.h"
#include "core/geometry.h"
#include "core/map_grid.h"
#include "core/random_draws.h"
#include "core/object_kinds.h"
#include "world/enemies.h"
#include "world/particles.h"
#include "core/colours.h"

namespace veldra {
namespace {


constexpr double kShatterReach = 0.5;  // cells, strictly below
constexpr double kHitReach = 0.65;     // cells, strictly below
constexpr double kBurstPullBack = 0.2;  // of a frame's velocity: the burst shows in front of the wall
constexpr int kTrailPercent = 45;

constexpr int kShatterParticles = 30;
constexpr Burst kShatterBurst{true, 0.0, 0.03, 0.1, 15, 10};
constexpr int kBoltImpactParticles = 25;
constexpr Burst kImpactBurst{true, 0.0, 0.04, 0.08, 12, 8};
constexpr std::uint16_t kBoltImpactColour = colour::kLightCyan;
constexpr Scatter kTrailSparkWithoutColour{0.0, 0.04, 5, 5, 0};

// The breakable object the bolt touches, latest in the array first; -1 for none.
std::ptrdiff_t touchedBreakable(const Game& game, const Projectile& bolt) {
  for (std::size_t i = game.mapObjects.size(); i-- > 0;) {
    const MapObject& object = game.mapObjects[i];
    if (withinReach(object.x, object.y, bolt.x, bolt.y, kShatterReach) && isBreakable(object.glyph)) {
      return static_cast<std::ptrdiff_t>(i);
    }
  }
  return -1;
}

void shatter(Game& game, std::size_t index) {
  const MapObject object = game.mapObjects[index];
  play(game.sound, sounds::kObjectShatters);
  emitBurst(game, object.x, object.y, 0.0, kShatterBurst, object.colour, kShatterParticles);
  game.mapObjects.erase(game.mapObjects.begin() + static_cast<std::ptrdiff_t>(index));
}

void burst(Game& game, const Projectile& bolt) {
  play(game.sound, sounds::kBoltHitsWall);
  emitBurst(game, bolt.x - kBurstPullBack * bolt.dx, bolt.y - kBurstPullBack * bolt.dy, 0.0, kImpactBurst,
            kBoltImpactColour, kBoltImpactParticles);
}

void leaveTrail(Game& game, const Projectile& bolt) {
  if (!randomChance(kTrailPercent)) return;
  Scatter spark = kTrailSparkWithoutColour;
  spark.colour = trailColour(bolt);
  emitScatter(game, bolt.x, bolt.y, spark, 1);
}

}  // namespace

int boltDamage(const Game& game, BoltClass spell) {
  const SpellKind& kind = spellOfBolt(spell);
  return upgradedDamage(game.*kind.damage, game.*kind.upgraded);
}

const SoundRequest* boltHitSound(BoltClass spell) { return spellOfBolt(spell).hit; }

std::uint16_t trailColour(const Projectile& bolt) {
  const BoltClass spell = boltClass(bolt);
  if (spell != BoltClass::Herba) return spellOfBolt(spell).colour;
  // A bolt of neither band: a fast one trails green, a slow one as IGNIS does.
  return spellKind(fasterThanElectrica(bolt) ? Spell::Herba : Spell::Ignis).colour;
}

void flyProjectiles(Game& game) {
  // From the last bolt down: the latest bolt flies first, so of two bolts that reach one
  // breakable object in a frame the latest shatters it, and the bursts' and trails'
  // particles (and their random draws) come in that order.
  for (std::size_t i = game.projectiles.size(); i-- > 0;) {
    Projectile& bolt = game.projectiles[i];
    bolt.x += bolt.dx;
    bolt.y += bolt.dy;
    bool struck = blocksAt(game, bolt.x, bolt.y);
    const std::ptrdiff_t breakable = touchedBreakable(game, bolt);
    if (breakable >= 0) {
      shatter(game, static_cast<std::size_t>(breakable));
      struck = true;
    }
    if (struck) {
      burst(game, bolt);
      game.projectiles.erase(game.projectiles.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    leaveTrail(game, bolt);
  }
}

void applyBoltHits(Game& game, std::size_t enemyIndex) {
  // From the last bolt down: the latest bolt hits first.
  for (std::size_t i = game.projectiles.size(); i-- > 0;) {
    const Projectile& bolt = game.projectiles[i];
    const Enemy& enemy = game.enemies[enemyIndex];
    if (!withinReach(bolt.x, bolt.y, enemy.x, enemy.y, kHitReach)) continue;
    const BoltClass spell = boltClass(bolt);
    if (const SoundRequest* sound = boltHitSound(spell)) play(game.sound, *sound);
    const int damage = boltDamage(game, spell);
    game.projectiles.erase(game.projectiles.begin() + static_cast<std::ptrdiff_t>(i));
    damageEnemy(game, enemyIndex, damage, EnemyDeath::NextEnemyPass);
  }
}

}  // namespace veldra
