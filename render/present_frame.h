#pragma once

#include "render/render_frame.h"

namespace veldra {

struct Game;

// The frame's presentation: sprite list, key names, renderFrame, then the message lines
// printed over the written frame.
void presentFrame(Game& game);

// The spell lines' key names, from the binding block.
KeyNames chooseKeyNames(const Game& game);

}  // namespace veldra
