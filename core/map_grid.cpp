#include "core/map_grid.h"

#include "core/game.h"

namespace veldra {
namespace {

// Beyond any grid, and still inside an int.
constexpr double kFarBeyondGrid = 1e9;

}  // namespace

int cellIndexOf(double coordinate) {
  if (!(coordinate > -1.0)) return -1;  // also NaN
  if (coordinate >= kFarBeyondGrid) return static_cast<int>(kFarBeyondGrid);
  return static_cast<int>(coordinate);
}

bool insideGrid(const Game& game, int column, int row) {
  return column >= 0 && column < game.mapWidth && row >= 0 && row < game.mapHeight;
}

char cellAt(const Game& game, int column, int row) {
  const std::size_t index = static_cast<std::size_t>(row) * game.mapWidth + static_cast<std::size_t>(column);
  return index < game.mapGrid.size() ? game.mapGrid[index] : kFloorCell;
}

bool isWallCell(const Game& game, int column, int row) {
  return insideGrid(game, column, row) && cellAt(game, column, row) == kWallCell;
}

bool blocksAt(const Game& game, double x, double y) {
  const int column = cellIndexOf(x);
  const int row = cellIndexOf(y);
  return !insideGrid(game, column, row) || isWallCell(game, column, row);
}

bool isWallAt(const Game& game, double x, double y) { return isWallCell(game, cellIndexOf(x), cellIndexOf(y)); }

}  // namespace veldra
