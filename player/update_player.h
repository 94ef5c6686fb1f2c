#pragma once

namespace veldra {

struct Game;

// The frame's input step: the pause key in every mode, then the front end or, in play,
// quit, moving, the staff, pickups and portals, and the spells.
void updatePlayer(Game& game);

}  // namespace veldra
