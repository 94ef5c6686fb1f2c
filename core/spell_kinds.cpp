#include "core/game.h"
#include "core/spell_facts.h"

namespace veldra {
namespace {

using namespace colour;
namespace s = sounds;

constexpr double kNoBolt = 0.0;

// spell, name, HUD label, scroll, colour, message colour, cost, needed, upgraded cost and
// needed, bolt speed and band, sounds (cast, upgraded cast, scroll, hit), learned, upgraded,
// damage.
// The basic shield needs 25 but takes 50, so it can leave mana below zero.
constexpr std::array<SpellKind, 4> kSpells = {{
    {Spell::Ignis, "IGNIS", "[IGNIS]: ", 'S', kLightRed, kLightRed, 35, 35, 35, 35, 0.25, 0.22, 0.28, s::kIgnisCast,
     s::kIgnisCast, s::kIgnisScroll, &s::kIgnisHit, &Game::ignisLearned, &Game::ignisUpgraded, &Game::ignisDamage},
    {Spell::Glacies, "GLACIES", "[GLACIES]: READY ", 'k', kLightCyan, kLightBlue, 50, 25, 75, 75, kNoBolt, 0, 0,
     s::kGlaciesActivated, s::kGlaciesBoost, s::kGlaciesScroll, nullptr, &Game::glaciesLearned, &Game::glaciesUpgraded,
     nullptr},
    {Spell::Electrica, "ELECTRICA", "ELECTRICA: ", 'L', kYellow, kYellow, 10, 10, 10, 10, 0.55, 0.5, 0.57,
     s::kElectricaCast, s::kElectricaCast, s::kElectricaScroll, &s::kElectricaHit, &Game::electricaLearned,
     &Game::electricaUpgraded, &Game::electricaDamage},
    {Spell::Herba, "HERBA", "HERBA: ", 'B', kLightGreen, kLightGreen, 5, 5, 5, 5, kNoBolt, 0, 0, s::kHerbaCast,
     s::kHerbaCast, s::kHerbaScroll, nullptr, &Game::herbaLearned, &Game::herbaUpgraded, &Game::herbaDamage},
}};

bool inBand(double speed, const SpellKind& spell) { return speed >= spell.slowestBolt && speed <= spell.fastestBolt; }

}  // namespace

const std::array<SpellKind, 4>& spellKinds() { return kSpells; }

const SpellKind& spellKind(Spell spell) { return kSpells[static_cast<std::size_t>(spell)]; }

const SpellKind* spellOfScroll(char glyph) {
  for (const SpellKind& spell : kSpells) {
    if (spell.scroll == glyph) return &spell;
  }
  return nullptr;
}

BoltClass boltClass(const Projectile& bolt) {
  const double speed = boltSpeed(bolt);
  if (inBand(speed, spellKind(Spell::Electrica))) return BoltClass::Electrica;
  if (inBand(speed, spellKind(Spell::Ignis))) return BoltClass::Ignis;
  return BoltClass::Herba;
}

bool fasterThanElectrica(const Projectile& bolt) { return boltSpeed(bolt) > spellKind(Spell::Electrica).fastestBolt; }

const SpellKind& spellOfBolt(BoltClass bolt) {
  switch (bolt) {
    case BoltClass::Electrica: return spellKind(Spell::Electrica);
    case BoltClass::Ignis: return spellKind(Spell::Ignis);
    case BoltClass::Herba: break;
  }
  return spellKind(Spell::Herba);
}

}  // namespace veldra
