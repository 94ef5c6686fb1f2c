#pragma once
// The command step: the frame record's keys and mouse read through the binding block, with
// the two aliases of preset A and, where the keys are not exact, the letters that stand in
// for lone modifier keys. The one place of the player's and the front end's code that reads
// keys.

#include "core/player_command.h"

namespace veldra {

struct Game;

// What the player asks for this frame, through the bindings in force.
PlayerCommand readPlayerCommand(const Game& game);

// The bound key, or where the keys are not exact the letter standing in for it.
bool bindingDown(int boundKey);

// The attack key; while it is Left Ctrl, Right Ctrl counts too, and on either preset the
// mouse's left button.
bool attackKeyDown(const Game& game);

// The forward key, or the mouse's right button held.
bool forwardKeyDown(const Game& game);

// The ELECTRICA key; while it is Left Alt, Right Alt counts too.
bool electricaKeyDown(const Game& game);

}  // namespace veldra
