#pragma once

namespace veldra {

struct Game;

// The staff: a new press while no swing is running strikes one point ahead of the player,
// hurting the latest enemy there, or else breaking the latest object there, or hitting the
// wall; a swing that meets nothing only whooshes.
void swingStaff(Game& game);

}  // namespace veldra
