#include "player/spells.h"

#include <cmath>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/random_draws.h"
#include "core/spell_facts.h"
#include "core/messages.h"
#include "world/particles.h"
#include "world/projectiles.h"
#include "core/colours.h"

namespace veldra {

bool ignisKeyHeld = false;
bool glaciesKeyHeld = false;

namespace {

constexpr int kGlaciesFrames = 700;
constexpr int kGlaciesBoostFrames = 1000;

constexpr int kHerbaBoostHealth = 5;     // upgraded, at or below kHerbaBoostCeiling
constexpr int kHerbaBoostCeiling = 95;
constexpr int kHerbaMendHealth = 1;      // at or below kHerbaMendCeiling
constexpr int kHerbaMendCeiling = 49;
constexpr double kHerbaMuzzle = 0.2;     // cells ahead of the player
constexpr int kHerbaParticles = 35;
constexpr Burst kHerbaSpray{false, 0.25, 0.45, 0.2, 5, 5};

// A press: down now and not down when last checked; the flag then follows the key.
bool pressed(bool down, bool& held) {
  const bool press = down && !held;
  held = down;
  return press;
}

void launchBolt(Game& game, double speed) {
  game.projectiles.push_back(Projectile{game.playerX, game.playerY, speed * std::cos(game.playerAngle),
                                        speed * std::sin(game.playerAngle)});
}

// Whether the spell can be cast now: learned, and the mana it needs there. If not, it
// fizzles; if so, its mana is taken and its cast sounds.
bool payFor(Game& game, const SpellKind& spell) {
  const bool upgraded = game.*spell.upgraded;
  if (!(game.*spell.learned) || game.mp < (upgraded ? spell.upgradedNeeded : spell.needed)) {
    play(game.sound, sounds::kFizzle);
    return false;
  }
  game.mp -= upgraded ? spell.upgradedCost : spell.cost;
  play(game.sound, upgraded ? spell.upgradedCast : spell.cast);
  return true;
}

void castBolt(Game& game, Spell spell) {
  const SpellKind& kind = spellKind(spell);
  if (payFor(game, kind)) launchBolt(game, kind.boltSpeed);
}

void castGlacies(Game& game) {
  // A running shield is never extended or restarted.
  if (game.glaciesActive) {
    play(game.sound, sounds::kFizzle);
    return;
  }
  const SpellKind& glacies = spellKind(Spell::Glacies);
  if (!payFor(game, glacies)) return;
  game.glaciesActive = true;
  game.glaciesTimer = game.glaciesUpgraded ? kGlaciesBoostFrames : kGlaciesFrames;
  postMessage(game, game.glaciesUpgraded ? "GLACIES BOOST ACTIVATED!" : "GLACIES ACTIVATED!", glacies.messageColour);
}

void castHerba(Game& game) {
  if (!payFor(game, spellKind(Spell::Herba))) return;
  if (game.herbaUpgraded && game.hp <= kHerbaBoostCeiling) game.hp += kHerbaBoostHealth;
  if (game.hp <= kHerbaMendCeiling) game.hp += kHerbaMendHealth;
  const double x = game.playerX + kHerbaMuzzle * std::cos(game.playerAngle);
  const double y = game.playerY + kHerbaMuzzle * std::sin(game.playerAngle);
  // One wounding particle leads the spray; the rest only strike.
  emitBurst(game, x, y, game.playerAngle, kHerbaSpray, kHerbaWoundColour, 1);
  emitBurst(game, x, y, game.playerAngle, kHerbaSpray, spellKind(Spell::Herba).colour, kHerbaParticles - 1);
}

}  // namespace

void castSpells(Game& game) {
  const PlayerCommand& command = game.command;
  if (pressed(command.ignis, ignisKeyHeld)) castBolt(game, Spell::Ignis);
  if (pressed(command.glacies, glaciesKeyHeld)) castGlacies(game);
  if (pressed(command.electrica, game.electricaKeyHeld)) castBolt(game, Spell::Electrica);
  if (pressed(command.herba, game.herbaKeyHeld)) castHerba(game);
}

}  // namespace veldra
