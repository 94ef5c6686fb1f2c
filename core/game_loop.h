#pragma once

namespace veldra {

struct Game;

// Runs frames until the player quits or dies, then shuts the sound down (after a quit) and
// prints the closing line.
void runGameLoop(Game& game);

// One frame of the loop without its closing sleep. False when the frame ended the game by
// death (the farewell line and its pause have then already run).
bool runFrame(Game& game);

}  // namespace veldra
