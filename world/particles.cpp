#include "world/particles.h"

#include <cmath>
#include <numbers>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/geometry.h"
#include "core/random_draws.h"
#include "core/spell_facts.h"
#include "world/enemies.h"

namespace veldra {
namespace {

constexpr double kHerbaReach = 0.6;  // cells, strictly below
constexpr int kFadedLastFrames = 3;  // a particle turns dark blue for its last three frames

int drawLife(int base, int range) { return base + randomBelow(range); }

// The first living enemy, in array order, that the particle has reached.
std::ptrdiff_t reachedEnemy(const Game& game, const Particle& particle) {
  for (std::size_t i = 0; i < game.enemies.size(); ++i) {
    const Enemy& enemy = game.enemies[i];
    if (enemy.alive && withinReach(enemy.x, enemy.y, particle.x, particle.y, kHerbaReach)) {
      return static_cast<std::ptrdiff_t>(i);
    }
  }
  return -1;
}

void woundEnemy(Game& game, std::size_t index) {
  play(game.sound, sounds::kHerbaWounds);
  damageEnemy(game, index, upgradedDamage(game.herbaDamage, game.herbaUpgraded), EnemyDeath::AtOnce);
}

// A spray particle that reaches an enemy is used up; true when it did.
bool strikeWithSpray(Game& game, const Particle& particle) {
  const std::ptrdiff_t index = reachedEnemy(game, particle);
  if (index < 0) return false;
  if (particle.colour == kHerbaWoundColour) woundEnemy(game, static_cast<std::size_t>(index));
  return true;
}

}  // namespace

void emitScatter(Game& game, double x, double y, const Scatter& scatter, int count) {
  for (int i = 0; i < count; ++i) {
    Particle particle;
    particle.x = x;
    particle.y = y;
    if (scatter.originSpread != 0.0) {
      particle.x += randomSpread(scatter.originSpread);
      particle.y += randomSpread(scatter.originSpread);
    }
    particle.dx = randomSpread(scatter.velocitySpread);
    particle.dy = randomSpread(scatter.velocitySpread);
    particle.life = drawLife(scatter.lifeBase, scatter.lifeRange);
    particle.colour = scatter.colour;
    game.particles.push_back(particle);
  }
}

void emitBurst(Game& game, double x, double y, double heading, const Burst& burst, std::uint16_t colour,
               int count) {
  for (int i = 0; i < count; ++i) {
    const double direction = burst.allRound ? 2.0 * std::numbers::pi * randomFraction()
                                            : heading + randomSpread(burst.fan);
    const double speed = burst.speedBase + burst.speedRange * randomFraction();
    const int life = drawLife(burst.lifeBase, burst.lifeRange);
    game.particles.push_back(
        Particle{x, y, std::cos(direction) * speed, std::sin(direction) * speed, life, colour});
  }
}

void stepParticles(Game& game) {
  // From the last particle down: the latest particle moves and strikes first, so of a HERBA
  // spray the plain particles, emitted after its one wounding particle, reach an enemy first.
  // Spent ones are marked (life 0) and swept out together at the end, which keeps the order
  // of the rest and costs one pass however many die.
  for (std::size_t i = game.particles.size(); i-- > 0;) {
    Particle& particle = game.particles[i];
    particle.x += particle.dx;
    particle.y += particle.dy;
    particle.life -= 1;
    if (particle.colour == spellKind(Spell::Herba).colour || particle.colour == kHerbaWoundColour) {
      if (strikeWithSpray(game, particle)) particle.life = 0;
    } else {
      particle.colour = particle.life > kFadedLastFrames ? kFadingColour : kFadedColour;
    }
  }
  std::erase_if(game.particles, [](const Particle& particle) { return particle.life <= 0; });
}

}  // namespace veldra
