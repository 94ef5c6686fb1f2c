#pragma once
// The two control presets: each writes all nine members of the binding block.

namespace veldra {

struct Game;

void applyPresetA(Game& game);  // arrows, Ctrl, Space, E, Alt, Shift
void applyPresetB(Game& game);  // WASD, Right Shift, Space, Right Alt, Right Ctrl, '/'

// True while preset B's attack key (Right Shift) is bound: the HUD then shows B's key names.
bool presetBActive(const Game& game);

}  // namespace veldra
