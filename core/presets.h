#pragma once
// The two control presets, as tables of the binding block: each writes all nine members.

namespace veldra {

struct Game;

void applyPresetA(Game& game);  // arrows, Ctrl, Space, E, Alt, Shift
void applyPresetB(Game& game);  // WASD, Right Shift, Space, Right Alt, Right Ctrl, '/'

// True while preset B's attack key (Right Shift) is bound: the HUD then shows B's key names.
bool presetBActive(const Game& game);

// Where the keys are not exact (a terminal that sends only the characters keys type), a lone
// Ctrl, Alt or Shift is never seen, so a binding to one has a letter that stands in for it:
// preset A's staff F, ELECTRICA Q and HERBA R, preset B's staff J, ELECTRICA K and GLACIES L.
// kNoStandIn for any other key.
constexpr int kNoStandIn = 0;
int standInFor(int boundKey);

}  // namespace veldra
