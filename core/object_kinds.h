#pragma once
// What each kind of thing in the world is, by its glyph: the one table every system reads
// when it cares what a glyph means. Level objects carry their level-file character; the
// sprite list adds enemies, bolts and the debris of fast bolts under glyphs of their own.

#include <cstdint>

namespace veldra {

// How the sprite pass draws a kind inside its square.
enum class SpriteLook {
  Plain,      // the glyph itself, filling most of the square
  Point,      // one cell on the middle row (debris)
  Torch,
  Fire,
  Tree,
  Scenery,    // bushes, trees and flowers shaded by their glyph
  Scroll,     // a small mark on the floor
  Potion,
  Health,
  Enemy,      // with its health over its head
  Lightning,  // an ELECTRICA bolt
  Bolt,       // any other bolt
};

// What a kind does in the world beyond its flags.
enum class ObjectRole {
  Scenery,        // only stands there (and may break)
  Torch,          // lights the walls near it
  Fire,           // burns the player who comes near
  Scroll,         // teaches its spell, then upgrades it
  ManaPotion,     // switches the mana pool
  HealthPickup,   // gives health below the maximum
  ForwardPortal,  // to the next level slot
  BackPortal,     // to the previous level slot
  NotOnMap,       // enemies, bolts and debris: sprites only
};

struct ObjectKind {
  char glyph = ' ';
  std::uint16_t colour = 0;  // console attribute given when the level places it
  ObjectRole role = ObjectRole::Scenery;
  bool consumable = false;   // a pickup: taken on touch and remembered once taken
  bool walkThrough = false;  // the player passes through it; everything else is solid
  bool breakable = false;    // bolts and the staff shatter it
  SpriteLook look = SpriteLook::Plain;
  char mark = ' ';           // a scroll's mark on the floor
  // The level loader turns the glyph into a map object.
  constexpr bool placed() const { return role != ObjectRole::NotOnMap; }
};

// The kind of a glyph; nullptr for a glyph that is no kind of thing (walls, floor, the
// start, letters of no meaning).
const ObjectKind* objectKind(char glyph);

inline bool hasRole(char glyph, ObjectRole role) {
  const ObjectKind* kind = objectKind(glyph);
  return kind != nullptr && kind->role == role;
}

// What the player can walk through, and what bolts and the staff break: a glyph of no kind
// is solid and breaks.
inline bool isWalkThrough(char glyph) {
  const ObjectKind* kind = objectKind(glyph);
  return kind != nullptr && kind->walkThrough;
}
inline bool isBreakable(char glyph) {
  const ObjectKind* kind = objectKind(glyph);
  return kind == nullptr || kind->breakable;
}

// The glyphs of things that are not level objects.
constexpr char kEnemyGlyph = 'E';
constexpr char kLightningGlyph = '/';
constexpr char kBoltGlyph = '*';

// Taken pickups leave the floor behind, except the HERBA scroll, which leaves its letter.
constexpr char kLetterLeftWhenTaken = 'B';

}  // namespace veldra
