#pragma once

namespace veldra {

struct Game;

// Scrolls, health, mana and portals within reach act on the player, the latest map object
// first. True when a portal switched the level: the rest of the frame's input step is
// then skipped.
bool touchMapObjects(Game& game);

}  // namespace veldra
