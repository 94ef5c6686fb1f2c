#pragma once
// The plain records the Game holds by value.

#include <cstdint>
#include <string>

#include "core/colours.h"

namespace veldra {

// An item, scroll, portal, scenery piece or fire of the level; also one entry of a frame's
// sprite list. Positions in cells; `glyph` is the level-file character and the kind.
struct MapObject {
  double x = 0.0;
  double y = 0.0;
  char glyph = ' ';
  std::uint16_t colour = 0;  // console attribute; for enemy sprites the health is in the high byte
};

// A pickup already taken, remembered by level slot and cell.
struct ConsumedPickup {
  std::int32_t levelIndex = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct Enemy {
  double x = 0.0;
  double y = 0.0;
  std::int32_t hp = 200;
  std::uint16_t colour = colour::kLightRed;
  bool alive = true;
};

// A spell bolt; its spell follows from its speed (cells per frame).
struct Projectile {
  double x = 0.0;
  double y = 0.0;
  double dx = 0.0;
  double dy = 0.0;
};

struct Particle {
  double x = 0.0;
  double y = 0.0;
  double dx = 0.0;
  double dy = 0.0;
  std::int32_t life = 0;  // frames
  std::uint16_t colour = 0;
};

struct HudMessage {
  std::string text;
  std::uint16_t colour = colour::kWhite;
  std::int32_t framesLeft = 0;
};

}  // namespace veldra
