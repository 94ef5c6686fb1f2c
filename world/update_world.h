#pragma once

namespace veldra {

struct Game;

// Advances the world by one frame, in a fixed order of steps.
void updateWorld(Game& game);

}  // namespace veldra
