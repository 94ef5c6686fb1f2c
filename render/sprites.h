#pragma once
// Everything in the world that is not a wall: camera-facing squares of cells sized by
// distance, hidden behind nearer walls, filled by a small shader chosen by the glyph.

#include <cstdint>
#include <vector>

#include "core/console_screen.h"
#include "core/records.h"
#include "render/frame_view.h"

namespace veldra {

struct Game;

// The frame's sprite list: map objects, living enemies (health in the high byte of the
// colour) and bolts with the debris of fast ones, in that order.
std::vector<MapObject> buildSpriteList(const Game& game);
void buildSpriteList(const Game& game, std::vector<MapObject>& sprites);  // into a list kept from frame to frame

// Farthest from the player first, so nearer sprites paint over farther ones.
void sortFarthestFirst(std::vector<MapObject>& sprites, double playerX, double playerY);
void sortFarthestFirst(std::vector<MapObject>& sprites, double playerX, double playerY,
                       SpriteOrder& scratch);  // with the last frame's order, kept in `scratch`

// Draws the sorted sprites, each column tested against the walls' depth list.
void drawSprites(FrameView frame, const Game& game, const ConsoleScreen& screen,
                 const std::vector<MapObject>& sprites, const std::vector<double>& depth);

// Particles: one 'x' each on the middle row.
void drawParticles(FrameView frame, const Game& game, const ConsoleScreen& screen, const std::vector<double>& depth);

// One cell of a sprite square: u is 0 on the centre line and 1 at the edges, v runs from 0 at
// the top towards 1 at the bottom; lx, ly are the cell within the square of size n.
struct SpriteCell {
  double u;
  double v;
  int lx;
  int ly;
  int n;
};
// What a shader gives a cell; a transparent cell has no character.
struct Shade {
  char c;
  std::uint16_t attribute;
  bool visible() const { return c != '\0'; }
};
inline constexpr Shade kTransparent{'\0', 0};
// The glyph's shader; kTransparent where the square shows what is behind it. Some glyphs
// draw random flicker.
Shade shadeSprite(char glyph, std::uint16_t colour, const SpriteCell& cell);
// The same with the glyph's kind looked up already (once a sprite, not once a cell).
struct ObjectKind;
Shade shadeSprite(const ObjectKind* kind, char glyph, std::uint16_t colour, const SpriteCell& cell);

// The farthest u from its centre line that a kind's shader draws: a cell at or beyond it is
// transparent and takes nothing from the random generator, so such columns are skipped.
double shadedReach(const ObjectKind* kind, char glyph);
// Down to which v (0 at the square's top) a kind's shader draws nothing: a cell with v at or
// above it is transparent and takes nothing from the random generator, so such rows are
// skipped. Below 0 when every row may draw.
double shadedTop(const ObjectKind* kind, char glyph);

}  // namespace veldra
