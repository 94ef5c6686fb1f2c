#include "core/object_kinds.h"

#include <array>
#include <cstddef>

#include "core/colours.h"

namespace veldra {
namespace {

using L = SpriteLook;
using R = ObjectRole;

using namespace colour;
constexpr std::uint16_t kNone = 0;  // not placed by a level: its colour comes with it

// glyph, colour, role, consumable, walk-through, breakable, look, scroll mark
constexpr ObjectKind kKinds[] = {
    {'O', kLightCyan, R::ForwardPortal, false, false, false, L::Plain, ' '},
    {'A', kLightMagenta, R::BackPortal, false, false, false, L::Plain, ' '},
    {'F', kYellow, R::Fire, false, false, false, L::Fire, ' '},
    {'T', kYellow, R::Torch, false, false, false, L::Torch, ' '},
    {'M', kLightGreen, R::Scenery, false, false, true, L::Scenery, ' '},
    {'Y', kLightGreen, R::Scenery, false, false, true, L::Scenery, ' '},
    {'f', kLightGreen, R::Scenery, false, false, true, L::Scenery, ' '},
    {'w', kLightGreen, R::Scenery, false, false, true, L::Scenery, ' '},
    {'o', kBrown, R::Scenery, false, false, true, L::Tree, ' '},
    {'t', kBrown, R::Scenery, false, false, true, L::Plain, ' '},
    {'S', kLightRed, R::Scroll, true, true, false, L::Scroll, '^'},   // IGNIS
    {'k', kLightCyan, R::Scroll, true, true, false, L::Scroll, '-'},  // GLACIES
    {'L', kYellow, R::Scroll, true, true, false, L::Scroll, '~'},     // ELECTRICA
    {'B', kGreen, R::Scroll, true, false, false, L::Scroll, '^'},     // HERBA: solid, unlike the others
    {'m', kLightCyan, R::ManaPotion, true, true, true, L::Potion, ' '},
    {'h', kWhite, R::HealthPickup, true, true, true, L::Health, ' '},
    {kEnemyGlyph, kNone, R::NotOnMap, false, false, false, L::Enemy, ' '},
    {kLightningGlyph, kNone, R::NotOnMap, false, false, false, L::Lightning, ' '},
    {kBoltGlyph, kNone, R::NotOnMap, false, false, false, L::Bolt, ' '},
    // The debris of fast bolts.
    {'^', kNone, R::NotOnMap, false, false, false, L::Point, ' '},
    {'v', kNone, R::NotOnMap, false, false, false, L::Point, ' '},
    {'.', kNone, R::NotOnMap, false, false, false, L::Point, ' '},
    {',', kNone, R::NotOnMap, false, false, false, L::Point, ' '},
    {'`', kNone, R::NotOnMap, false, false, false, L::Point, ' '},
    {'"', kNone, R::NotOnMap, false, false, false, L::Point, ' '},
};

// The kind of each byte, looked up once per cell or sprite: index + 1 into kKinds, or 0.
constexpr std::array<std::uint8_t, 256> kKindOfByte = [] {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t i = 0; i < std::size(kKinds); ++i) {
    table[static_cast<unsigned char>(kKinds[i].glyph)] = static_cast<std::uint8_t>(i + 1);
  }
  return table;
}();

}  // namespace

const ObjectKind* objectKind(char glyph) {
  const std::uint8_t index = kKindOfByte[static_cast<unsigned char>(glyph)];
  return index == 0 ? nullptr : &kKinds[index - 1];
}

}  // namespace veldra
