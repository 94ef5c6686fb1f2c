#pragma once
// The 3D view: walls by grid-stepping rays, ceiling or sky above them, floor below, and the
// outdoor rain. Writes only the frame's cells (and the rain state it owns).

#include <cstdint>
#include <vector>

#include "core/records.h"
#include "core/console_screen.h"
#include "render/frame_view.h"

namespace veldra {

struct Game;

// Where a ray from (x, y) along `angle` meets the first wall: its Euclidean distance (capped
// at maxDepth; maxDepth when it leaves the grid) and the last cell the march reached.
struct RayHit {
  double distance = 0.0;
  int cellX = 0;
  int cellY = 0;
};
RayHit castRay(const Game& game, double x, double y, double angle, double maxDepth);
// The same along a direction already known: (dx, dy) is the angle's cosine and sine.
RayHit castRayAlong(const Game& game, double x, double y, double dx, double dy, double maxDepth);

// Makes `grid` the level's grid as the rays march it, if it is not already.
void fitMarchGrid(MarchGrid& grid, const Game& game);
// castRayAlong through a grid fitted to the game's.
RayHit castRayThrough(const MarchGrid& grid, const Game& game, double x, double y, double dx, double dy,
                      double maxDepth);

// The wall character for a distance: denser when nearer.
char wallCharacter(double distance, double maxDepth);

// Draws walls, sky or ceiling and floor into every column and returns each column's wall
// distance. `sprites` is the frame's list in build order: its torches light nearby walls.
std::vector<double> drawWalls(FrameView frame, const Game& game, const ConsoleScreen& screen,
                              const std::vector<MapObject>& sprites, std::uint32_t ticks);
// The same into `depth`, with the screen's buffer for the torches.
void drawWalls(FrameView frame, const Game& game, ConsoleScreen& screen, const std::vector<MapObject>& sprites,
               std::uint32_t ticks, std::vector<double>& depth);

// The outdoor rain: seeded once, then falls a little every frame; kept but not moved on
// other themes.
void drawRain(FrameView frame, ConsoleScreen& screen, const std::vector<double>& depth);

}  // namespace veldra
