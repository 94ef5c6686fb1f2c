#pragma once

namespace veldra {

struct Game;

// The next footstep's pitch: high first, then alternating. Process-wide, not per game.
extern bool footstepHighPitch;

// Turns, then tries one step forward or back; a blocked step changes nothing. Walking
// makes a footstep every 0.6 cells.
void turnAndMove(Game& game);

// Whether the player may stand at (x, y): inside the grid, not in a wall, not within reach
// of a solid object.
bool canStandAt(const Game& game, double x, double y);

}  // namespace veldra
