#include "world/status_effects.h"

#include <cmath>
#include <numbers>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/random_draws.h"
#include "core/spell_facts.h"
#include "core/messages.h"
#include "world/particles.h"
#include "core/colours.h"

namespace veldra {
namespace {

constexpr int kLastSwingPicture = 4;

constexpr int kRegenPeriodFrames = 3;
constexpr int kInfusedRegenPeriodFrames = 20;
constexpr int kShieldHealingCeiling = 100;  // an upgraded shield heals up to here

constexpr int kAuraParticles = 3;
constexpr double kAuraInnerRadius = 0.3;  // cells
constexpr double kAuraRadiusRange = 0.4;  // cells
constexpr double kAuraDrift = 0.04;       // cells per frame
constexpr int kAuraLifeBase = 15;
constexpr int kAuraLifeRange = 15;
constexpr int kAuraCyanPercent = 70;
constexpr std::uint16_t kAuraCyan = colour::kLightCyan;
constexpr std::uint16_t kAuraBlue = colour::kLightBlue;

constexpr std::size_t kEndBurstCap = 100;
constexpr int kEndBurstParticles = 20;
constexpr Burst kEndBurst{true, 0.0, 0.04, 0.08, 10, 6};
constexpr std::uint16_t kEndBurstColour = colour::kCyan;

void emitAura(Game& game) {
  for (int i = 0; i < kAuraParticles; ++i) {
    const double angle = 2.0 * std::numbers::pi * randomFraction();
    const double radius = kAuraInnerRadius + kAuraRadiusRange * randomFraction();
    Particle particle;
    particle.x = game.playerX + std::cos(angle) * radius;
    particle.y = game.playerY + std::sin(angle) * radius;
    particle.dx = randomSpread(kAuraDrift);
    particle.dy = randomSpread(kAuraDrift);
    particle.life = kAuraLifeBase + randomBelow(kAuraLifeRange);
    particle.colour = randomChance(kAuraCyanPercent) ? kAuraCyan : kAuraBlue;
    game.particles.push_back(particle);
  }
}

void endGlacies(Game& game) {
  game.glaciesActive = false;
  postMessage(game, "GLACIES INACTIVE!", spellKind(Spell::Glacies).messageColour);
  if (game.particles.size() < kEndBurstCap) {
    emitBurst(game, game.playerX, game.playerY, 0.0, kEndBurst, kEndBurstColour, kEndBurstParticles);
  }
  play(game.sound, sounds::kGlaciesExpires);
}

}  // namespace

void advanceAttackAnimation(Game& game) {
  if (game.attackFrame <= 0) return;
  if (++game.attackFrame > kLastSwingPicture) game.attackFrame = 0;
}

void regenerateMana(Game& game) {
  if (game.mp >= game.mpMax) {
    game.manaRegenCounter = 0;
    return;
  }
  game.manaRegenCounter += 1;
  const int period = game.mpMax == kManaInfusionCap ? kInfusedRegenPeriodFrames : kRegenPeriodFrames;
  if (game.manaRegenCounter < period) return;
  if (game.glaciesUpgraded && game.hp < kShieldHealingCeiling && game.glaciesActive) game.hp += 1;
  game.mp += 1;
  game.manaRegenCounter = 0;
}

void tickGlacies(Game& game) {
  if (!game.glaciesActive) return;
  game.glaciesTimer -= 1;
  if (game.particles.size() < kParticleCap) emitAura(game);
  if (game.glaciesTimer <= 0) endGlacies(game);
}

}  // namespace veldra
