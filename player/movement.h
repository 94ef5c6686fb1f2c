#pragma once

namespace veldra {

struct Game;

// The next footstep's pitch: high first, then alternating. Process-wide, not per game.
extern bool footstepHighPitch;

// Turns, then tries one step forward or back; a blocked step changes nothing. Walking
// makes a footstep every 0.6 cells. The walk toggle counts as the forward key held.
void turnAndMove(Game& game);

// Where the keys are not exact, a press of Tab starts or stops walking forward by itself;
// the back key stops it too, and so does exact key state coming back. Runs before
// turnAndMove.
void toggleAutoWalk(Game& game);

// Ends the walk toggle (pausing, a level switch), saying so when it was on.
void stopAutoWalk(Game& game);

// Whether the player may stand at (x, y): inside the grid, not in a wall, not within reach
// of a solid object.
bool canStandAt(const Game& game, double x, double y);

}  // namespace veldra
