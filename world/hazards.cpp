#include "world/hazards.h"

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/geometry.h"
#include "core/level_loader.h"
#include "core/object_kinds.h"
#include "core/random_draws.h"
#include "core/messages.h"
#include "world/hurt.h"
#include "world/particles.h"
#include "core/colours.h"

namespace veldra {
namespace {

constexpr int kFlickerPercent = 25;
constexpr Scatter kFlicker{0.3, 0.02, 10, 8, 12};

constexpr double kFireReach = 0.95;  // cells, strictly below
constexpr int kFireDamage = 25;
constexpr std::uint16_t kWarningColour = colour::kLightRed;
constexpr int kBurnParticles = 15;
constexpr Scatter kBurn{0.2, 0.05, 8, 6, 12};
constexpr int kShieldSparks = 8;
constexpr Scatter kShieldSpark{0.4, 0.03, 6, 4, 11};

constexpr int kChirpPercent = 15;
constexpr int kChirpLowestHz = 1200;
constexpr int kChirpRangeHz = 600;

bool isFire(const MapObject& object) { return hasRole(object.glyph, ObjectRole::Fire); }

bool fireWithinReach(const Game& game) {
  for (const MapObject& object : game.mapObjects) {
    if (isFire(object) && withinReach(object.x, object.y, game.playerX, game.playerY, kFireReach)) {
      return true;
    }
  }
  return false;
}

bool outdoorLevel(const Game& game) { return themeOf(game.themeLetter) == Theme::Outdoor; }

}  // namespace

void emitFireFlicker(Game& game) {
  // The cap is tested once, before the scan: one frame of many fires may pass it.
  if (game.particles.size() >= kParticleCap) return;
  // By index: the flicker appends to the particles, never to the map objects.
  for (std::size_t i = 0; i < game.mapObjects.size(); ++i) {
    const MapObject fire = game.mapObjects[i];
    if (isFire(fire) && randomChance(kFlickerPercent)) emitScatter(game, fire.x, fire.y, kFlicker, 1);
  }
}

void burnInFire(Game& game) {
  if (game.burnCooldown > 0) game.burnCooldown -= 1;
  // Only the first fire in reach counts: two fires burn no faster than one.
  if (!fireWithinReach(game) || game.burnCooldown != 0) return;
  if (!hurtPlayer(game, kFireDamage)) {
    emitScatter(game, game.playerX, game.playerY, kShieldSpark, kShieldSparks);
    return;
  }
  postMessage(game, "WARNING: Player is burning due to fire hazards!", kWarningColour);
  emitScatter(game, game.playerX, game.playerY, kBurn, kBurnParticles);
}

void playAmbientSound(Game& game) {
  if (!outdoorLevel(game) || !randomChance(kChirpPercent)) return;
  const double frequency = kChirpLowestHz + randomBelow(kChirpRangeHz);
  play(game.sound, sounds::ambientChirp(frequency));
}

}  // namespace veldra
