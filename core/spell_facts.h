#pragma once
// The four spells as data, as object_kinds is for the things on a map: what each costs and
// needs, its colours, its scroll, its sounds, its bolt's speed band where it has a bolt, its
// HUD label, and which members of the Game say it is learned and upgraded. Also the facts
// more than one system needs: the bolts (a bolt does not remember its spell; the world and
// the renderer both tell it from its speed), the mana pools, what an upgrade does.

#include <array>
#include <cmath>
#include <cstdint>

#include "audio/sound_catalogue.h"
#include "core/colours.h"
#include "core/records.h"

namespace veldra {

struct Game;

// In the order a frame casts them.
enum class Spell { Ignis, Glacies, Electrica, Herba };

struct SpellKind {
  Spell spell;
  const char* name;          // as the messages and the HUD write it
  const char* hudLabel;      // the HUD's line while it is learned, before its key
  char scroll;               // its scroll's glyph in a level
  std::uint16_t colour;      // its HUD line, its bolts, their trails and its spray
  std::uint16_t messageColour;  // its messages: its scroll taken, the shield's news
  int cost;                  // mana a cast takes
  int needed;                // mana a cast needs
  int upgradedCost;          // the same, upgraded
  int upgradedNeeded;
  double boltSpeed;          // launch speed, cells per frame; 0: no bolt
  double slowestBolt;        // the speed band that tells its bolt, both ends included
  double fastestBolt;
  SoundRequest cast;
  SoundRequest upgradedCast;
  SoundRequest scrollTaken;
  const SoundRequest* hit;   // its bolt's hit on an enemy; nullptr: silent
  bool Game::*learned;
  bool Game::*upgraded;
  std::int32_t Game::*damage;  // what it does to an enemy, before an upgrade doubles it; nullptr: none
};

// The spell's facts; every spell has one.
const SpellKind& spellKind(Spell spell);
// The spell a scroll of this glyph teaches, or nullptr.
const SpellKind* spellOfScroll(char glyph);
// All four, in casting order.
const std::array<SpellKind, 4>& spellKinds();

// A bolt's spell, from its speed: in ELECTRICA's band, in IGNIS's, or else HERBA (a bolt
// faster than ELECTRICA's band is drawn as a fast bolt).
enum class BoltClass { Electrica, Ignis, Herba };

inline double boltSpeed(const Projectile& bolt) { return std::sqrt(bolt.dx * bolt.dx + bolt.dy * bolt.dy); }
BoltClass boltClass(const Projectile& bolt);
bool fasterThanElectrica(const Projectile& bolt);
const SpellKind& spellOfBolt(BoltClass bolt);

// The mana pool's cap: plain, and while the mana potion's infusion runs (which also slows
// the regeneration; the cap is how the regeneration tells).
constexpr int kPlainManaCap = 50;
constexpr int kManaInfusionCap = 500;

// An upgraded spell does twice its damage.
constexpr int upgradedDamage(int damage, bool upgraded) { return upgraded ? 2 * damage : damage; }

}  // namespace veldra
