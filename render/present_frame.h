#pragma once

#include <cstddef>

#include "render/render_frame.h"

namespace veldra {

struct Game;

// The frame's presentation: sprite list, key names, renderFrame, then the message lines
// printed over the written frame.
void presentFrame(Game& game);

// How many of the message log's lines (the oldest first) presentFrame prints over the
// frame: those whose row fits the window.
std::size_t messagesShown(const Game& game);

// The spell lines' key names, from the binding block.
KeyNames chooseKeyNames(const Game& game);

}  // namespace veldra
