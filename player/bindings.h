#pragma once
// The command step: the frame record's keys and mouse read through the bindings in force
// (every key of each action, the mouse's buttons and, where the keys are not exact, the
// letters that stand in for lone modifier keys). The one place of the player's and the
// front end's code that reads keys.

#include "core/binding_table.h"
#include "core/player_command.h"

namespace veldra {

struct Game;

// What the player asks for this frame, through the bindings in force.
PlayerCommand readPlayerCommand(const Game& game);

// Whether any key of the action is down (its stand-in too, where the keys are not exact).
bool actionDown(const Game& game, Action action);

// The attack key; while it is Left Ctrl, Right Ctrl counts too, and the mouse's left button.
bool attackKeyDown(const Game& game);

// The ELECTRICA key; while it is Left Alt, Right Alt counts too.
bool electricaKeyDown(const Game& game);

}  // namespace veldra
