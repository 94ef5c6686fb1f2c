#pragma once

namespace veldra {

struct Game;

// Moves to the level `step` slots along the level table (+1 forward, -1 back): the level's
// objects, enemies, bolts and particles go, the new file is loaded, and the player hears
// and reads where he is. Everything else carries over. When the new file cannot be opened
// nothing changes at all and the result is false.
bool switchLevel(Game& game, int step);

}  // namespace veldra
