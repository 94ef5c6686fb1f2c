#pragma once
// The two control presets: the binding block filled from one preset of the binding table,
// and how the block's members are read back through that table.

#include "core/binding_table.h"

namespace veldra {

struct Game;

void applyPreset(Game& game, int preset);  // writes all nine members from the table
void applyPresetA(Game& game);  // arrows, Ctrl, Space, E, Alt, Shift (by default)
void applyPresetB(Game& game);  // WASD, Right Shift, Space, Right Alt, Right Ctrl, '/'

// A new binding table in force: both presets replaced, the block filled from its preset at
// start.
void useBindings(Game& game, const BindingTable& table);

// The block's member of an action.
std::int32_t boundKey(const Game& game, Action action);

// Every key of an action as the block's member holds it: the table's entry while the member
// holds that entry's first key (the preset in force's first, then the other's). A member
// written otherwise is its key alone, with the preset's mouse buttons for the action and the
// stand-in that the shipped presets give that key, so preset A's aliases follow the member's
// value (Right Ctrl while the staff is Left Ctrl, Right Alt while ELECTRICA is Left Alt).
ActionBinding actionBinding(const Game& game, Action action);

// The preset whose key names the HUD shows: the preset in force while the staff key is its
// staff key, else preset B while the staff key is B's (Right Shift when shipped), else A.
int presetForKeyNames(const Game& game);

}  // namespace veldra
