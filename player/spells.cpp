#include "player/spells.h"

#include <cmath>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/random_draws.h"
#include "core/spell_facts.h"
#include "player/bindings.h"
#include "player/messages.h"
#include "platform/keyboard.h"
#include "world/particles.h"
#include "world/projectiles.h"
#include "core/colours.h"

namespace veldra {

bool ignisKeyHeld = false;
bool glaciesKeyHeld = false;

namespace {

constexpr int kIgnisCost = 35;
constexpr int kElectricaCost = 10;
// The basic shield asks for 25 but takes 50, so it can leave mana below zero.
constexpr int kGlaciesNeeded = 25;
constexpr int kGlaciesPaid = 50;
constexpr int kGlaciesFrames = 700;
constexpr int kGlaciesBoostCost = 75;
constexpr int kGlaciesBoostFrames = 1000;
constexpr std::uint16_t kGlaciesMessageColour = colour::kLightBlue;

constexpr int kHerbaCost = 5;
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

void castBolt(Game& game, bool learned, int cost, const SoundRequest& sound, double speed) {
  if (!learned || game.mp < cost) {
    play(game.sound, sounds::kFizzle);
    return;
  }
  game.mp -= cost;
  play(game.sound, sound);
  launchBolt(game, speed);
}

void activateGlacies(Game& game, int cost, int frames, const char* message, const SoundRequest& sound) {
  game.mp -= cost;
  game.glaciesActive = true;
  game.glaciesTimer = frames;
  postMessage(game, message, kGlaciesMessageColour);
  play(game.sound, sound);
}

void castGlacies(Game& game) {
  // A running shield is never extended or restarted.
  const int needed = game.glaciesUpgraded ? kGlaciesBoostCost : kGlaciesNeeded;
  if (!game.glaciesLearned || game.mp < needed || game.glaciesActive) {
    play(game.sound, sounds::kFizzle);
    return;
  }
  if (game.glaciesUpgraded) {
    activateGlacies(game, kGlaciesBoostCost, kGlaciesBoostFrames, "GLACIES BOOST ACTIVATED!", sounds::kGlaciesBoost);
  } else {
    activateGlacies(game, kGlaciesPaid, kGlaciesFrames, "GLACIES ACTIVATED!", sounds::kGlaciesActivated);
  }
}

void castHerba(Game& game) {
  if (!game.herbaLearned || game.mp < kHerbaCost) {
    play(game.sound, sounds::kFizzle);
    return;
  }
  game.mp -= kHerbaCost;
  if (game.herbaUpgraded && game.hp <= kHerbaBoostCeiling) game.hp += kHerbaBoostHealth;
  if (game.hp <= kHerbaMendCeiling) game.hp += kHerbaMendHealth;
  play(game.sound, sounds::kHerbaCast);
  const double x = game.playerX + kHerbaMuzzle * std::cos(game.playerAngle);
  const double y = game.playerY + kHerbaMuzzle * std::sin(game.playerAngle);
  // One wounding particle leads the spray; the rest only strike.
  emitBurst(game, x, y, game.playerAngle, kHerbaSpray, kHerbaWoundColour, 1);
  emitBurst(game, x, y, game.playerAngle, kHerbaSpray, kHerbaSprayColour, kHerbaParticles - 1);
}

}  // namespace

void castSpells(Game& game) {
  if (pressed(bindingDown(game.keyIgnis), ignisKeyHeld)) {
    castBolt(game, game.ignisLearned, kIgnisCost, sounds::kIgnisCast, kIgnisBoltSpeed);
  }
  if (pressed(bindingDown(game.keyGlacies), glaciesKeyHeld)) castGlacies(game);
  if (pressed(electricaKeyDown(game), game.electricaKeyHeld)) {
    castBolt(game, game.electricaLearned, kElectricaCost, sounds::kElectricaCast, kElectricaBoltSpeed);
  }
  if (pressed(bindingDown(game.keyHerba), game.herbaKeyHeld)) castHerba(game);
}

}  // namespace veldra
