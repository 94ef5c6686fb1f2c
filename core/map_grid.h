#pragma once
// Looking up the cell under a position. Positions are truncated toward zero, so anything
// between -1 and 0 is cell 0; a grid string shorter than the map reads as open floor.

namespace veldra {

struct Game;

// What the grid keeps in a cell: a wall, open floor, or a character of no meaning (floor too).
constexpr char kWallCell = '#';
constexpr char kFloorCell = '.';

// The column or row of a coordinate, truncated toward zero; -1 for anything at or below
// -1 (and for NaN), so it always lands outside the grid rather than overflowing.
int cellIndexOf(double coordinate);

bool insideGrid(const Game& game, int column, int row);

// A wall cell inside the grid.
bool isWallCell(const Game& game, int column, int row);

// The grid's character at a cell inside the grid; open floor where the grid string ends.
char cellAt(const Game& game, int column, int row);

// What bolts, enemies and the player cannot enter: a wall or anywhere outside the grid.
bool blocksAt(const Game& game, double x, double y);

// A wall cell inside the grid under the position; outside the grid is not a wall here.
bool isWallAt(const Game& game, double x, double y);

}  // namespace veldra
