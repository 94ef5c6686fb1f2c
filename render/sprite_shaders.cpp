// The glyph shaders: what each kind of object looks like inside its square.

#include <cmath>

#include "core/colours.h"
#include "core/object_kinds.h"
#include "core/random_draws.h"
#include "render/sprites.h"

namespace veldra {
namespace {

constexpr char kBar = '|';
using namespace colour;
constexpr int kFlameYellowPercent = 60;

Shade torch(std::uint16_t colour, const SpriteCell& p) {
  if (p.v <= 0.35 && p.u < 0.6) return Shade{p.v < 0.15 ? '_' : 'O', colour};
  if (p.v > 0.35 && p.v <= 0.85 && p.u < 0.15) return Shade{kBar, kGrey};
  if (p.v > 0.85 && p.u < 0.5) return Shade{'=', kGrey};
  return kTransparent;
}

Shade fire(const SpriteCell& p) {
  if (p.v <= 0.55 && p.u < 0.9 * p.v) {
    static constexpr char kFlames[] = {'^', 'v', 'w', 'x'};
    const char c = kFlames[randomBelow(4)];
    return Shade{c, randomChance(kFlameYellowPercent) ? kYellow : kLightRed};
  }
  if (p.v > 0.55 && p.u < 0.7) return Shade{'#', kGrey};
  return kTransparent;
}

Shade tree(const SpriteCell& p) {
  if (p.v <= 0.75 && p.u < 2.0 * (p.v - 0.45)) return Shade{randomBelow(2) == 1 ? 'v' : 'w', kLightGreen};
  if (p.v > 0.75 && p.u < 0.35) return Shade{'U', kBrown};
  return kTransparent;
}

Shade scenery(char glyph, std::uint16_t colour, const SpriteCell& p) {
  switch (glyph) {
    case 'M':
      if (p.v <= 0.35 && p.u < 2.5 * p.v) return Shade{'M', colour};
      if (p.v > 0.35 && p.u < 0.15) return Shade{kBar, kBrown};
      return kTransparent;
    case 'Y':
      if (p.v <= 0.2) return p.u < 0.2 ? (Shade{'Y', colour}) : kTransparent;
      return Shade{p.v <= 0.9 ? 'Y' : '%', colour};
    case 'f':
      if (p.v < 0.8 && p.u < 0.3) return Shade{p.ly % 2 == 1 ? 'i' : 's', colour};
      return kTransparent;
    case 'w':
      if (p.v > 0.5 && p.u < 0.9) return Shade{p.v <= 0.8 ? 'w' : 'W', colour};
      return kTransparent;
  }
  return kTransparent;
}

// A scroll lies on the floor: a small mark at the bottom of its square.
Shade scroll(char mark, std::uint16_t colour, const SpriteCell& p) {
  if (p.v > 0.8 && p.u < 0.5) return Shade{mark, colour};
  return kTransparent;
}

Shade potion(std::uint16_t colour, const SpriteCell& p) {
  if (p.v > 0.75 && p.v < 0.84 && p.u < 0.15) return Shade{kBar, colour};
  if (p.v > 0.75 && p.u < 0.35) return Shade{'U', colour};
  return kTransparent;
}

// A red cross on a box. The cross's bar is the box row nearest v = 0.8: every square big
// enough to have a box row (n >= 4) has it, so the cross never loses its bar.
Shade health(std::uint16_t colour, const SpriteCell& p) {
  if (!(p.v > 0.7 && p.v < 0.95 && p.u < 0.6)) return kTransparent;
  const bool vertical = p.u < 0.15 && p.v >= 0.74 && p.v <= 0.9;
  const bool horizontal = p.u < 0.45 && p.ly == static_cast<int>(std::lround(0.8 * p.n));
  if (vertical && horizontal) return Shade{'+', kLightRed};
  if (vertical) return Shade{kBar, kLightRed};
  if (horizontal) return Shade{'-', kLightRed};
  return Shade{'#', colour};
}

Shade enemy(std::uint16_t colour, const SpriteCell& p) {
  const std::uint16_t attribute = colour & 0xFF;
  if (p.v <= 0.2) return p.u < 0.85 ? (Shade{'=', attribute}) : kTransparent;
  if (p.u < 0.35 || p.u > 0.65) return kTransparent;
  const bool leftStroke = p.lx < p.n / 2;
  if (leftStroke) return Shade{p.v > 0.75 ? '/' : kBar, attribute};
  return Shade{kBar, attribute};
}

Shade lightning(std::uint16_t colour, const SpriteCell& p) {
  if (p.v > 0.3 && p.v < 0.7 && std::fabs(p.u - (0.3 + 0.35 * std::sin(45.0 * p.v))) < 0.2) {
    return Shade{!randomChance(50) ? '^' : 'v', colour};
  }
  return kTransparent;
}

Shade bolt(std::uint16_t colour, const SpriteCell& p) {
  const double dv = 1.3 * (p.v - 0.5);
  if (std::sqrt(p.u * p.u + dv * dv) < 0.35) return Shade{'*', colour};
  return kTransparent;
}

Shade plain(char glyph, std::uint16_t colour, const SpriteCell& p) {
  if (p.v > 0.25 || p.u < 0.1) return Shade{glyph, colour};
  return kTransparent;
}

// How far across its square each look draws at most (in u, from the centre line): beside
// the shaders, since each bound is read off its shader's conditions.
constexpr double kWholeSquare = 2.0;  // u never reaches it: every column may draw
double sceneryReach(char glyph) {
  switch (glyph) {
    case 'M': return 0.875;  // the crown, u < 2.5 v for v <= 0.35
    case 'Y': return kWholeSquare;
    case 'f': return 0.3;
    case 'w': return 0.9;
  }
  return 0.0;
}

}  // namespace

double shadedReach(const ObjectKind* kind, char glyph) {
  switch (kind ? kind->look : SpriteLook::Plain) {
    case SpriteLook::Torch: return 0.6;
    case SpriteLook::Fire: return 0.7;
    case SpriteLook::Tree: return 0.6;
    case SpriteLook::Scenery: return sceneryReach(glyph);
    case SpriteLook::Scroll: return 0.5;
    case SpriteLook::Potion: return 0.35;
    case SpriteLook::Health: return 0.6;
    case SpriteLook::Enemy: return 0.85;
    case SpriteLook::Lightning: return 0.85;  // |u - (0.3 + 0.35 sin 45v)| < 0.2
    case SpriteLook::Bolt: return 0.35;
    case SpriteLook::Plain:
    case SpriteLook::Point: break;
  }
  return kWholeSquare;
}

double shadedTop(const ObjectKind* kind, char glyph) {
  switch (kind ? kind->look : SpriteLook::Plain) {
    case SpriteLook::Tree: return 0.45;       // the crown needs u < 2 (v - 0.45), the trunk v > 0.75
    case SpriteLook::Scroll: return 0.8;
    case SpriteLook::Potion: return 0.75;
    case SpriteLook::Health: return 0.7;
    case SpriteLook::Lightning: return 0.3;
    case SpriteLook::Bolt: return 0.2;        // 1.3 |v - 0.5| < 0.35
    case SpriteLook::Scenery: return glyph == 'w' ? 0.5 : glyph == 'M' ? 0.0 : -1.0;  // 'M': u < 2.5 v
    case SpriteLook::Torch:
    case SpriteLook::Fire:
    case SpriteLook::Enemy:
    case SpriteLook::Plain:
    case SpriteLook::Point: break;
  }
  return -1.0;  // every row may draw
}

Shade shadeSprite(char glyph, std::uint16_t colour, const SpriteCell& cell) {
  return shadeSprite(objectKind(glyph), glyph, colour, cell);
}

Shade shadeSprite(const ObjectKind* kind, char glyph, std::uint16_t colour, const SpriteCell& cell) {
  switch (kind ? kind->look : SpriteLook::Plain) {
    case SpriteLook::Torch: return torch(colour, cell);
    case SpriteLook::Fire: return fire(cell);
    case SpriteLook::Tree: return tree(cell);
    case SpriteLook::Scenery: return scenery(glyph, colour, cell);
    case SpriteLook::Scroll: return scroll(kind->mark, colour, cell);
    case SpriteLook::Potion: return potion(colour, cell);
    case SpriteLook::Health: return health(colour, cell);
    case SpriteLook::Enemy: return enemy(colour, cell);
    case SpriteLook::Lightning: return lightning(colour, cell);
    case SpriteLook::Bolt: return bolt(colour, cell);
    case SpriteLook::Plain:
    case SpriteLook::Point: break;
  }
  return plain(glyph, colour, cell);
}

}  // namespace veldra
