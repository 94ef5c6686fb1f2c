#pragma once
// Facts of the spells that more than one system needs: the bolts' speeds (a bolt does not
// remember its spell; the world and the renderer both tell it from its speed), the mana
// pools, and what an upgrade does to damage.

#include <cmath>

#include "core/records.h"

namespace veldra {

// Launch speeds of the two bolt spells, cells per frame.
constexpr double kIgnisBoltSpeed = 0.25;
constexpr double kElectricaBoltSpeed = 0.55;

// The speed bands that tell a bolt's spell, cells per frame, both ends included. A bolt in
// neither band counts as HERBA; one faster than ELECTRICA's band is drawn as a fast bolt.
constexpr double kElectricaSlowest = 0.5;
constexpr double kElectricaFastest = 0.57;
constexpr double kIgnisSlowest = 0.22;
constexpr double kIgnisFastest = 0.28;

enum class BoltClass { Electrica, Ignis, Herba };

inline double boltSpeed(const Projectile& bolt) { return std::sqrt(bolt.dx * bolt.dx + bolt.dy * bolt.dy); }

inline BoltClass boltClass(const Projectile& bolt) {
  const double speed = boltSpeed(bolt);
  if (speed >= kElectricaSlowest && speed <= kElectricaFastest) return BoltClass::Electrica;
  if (speed >= kIgnisSlowest && speed <= kIgnisFastest) return BoltClass::Ignis;
  return BoltClass::Herba;
}

// The mana pool's cap: plain, and while the mana potion's infusion runs (which also slows
// the regeneration; the cap is how the regeneration tells).
constexpr int kPlainManaCap = 50;
constexpr int kManaInfusionCap = 500;

// An upgraded spell does twice its damage.
constexpr int upgradedDamage(int damage, bool upgraded) { return upgraded ? 2 * damage : damage; }

}  // namespace veldra
