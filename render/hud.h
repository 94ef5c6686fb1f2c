#pragma once
// The heads-up display over the view: minimap and level name, health and mana bars, the
// spell lines, the pause box and the staff.

#include <cstdint>
#include <vector>

#include "core/records.h"
#include "render/frame_view.h"

namespace veldra {

struct Game;
struct KeyNames;

// The 13 x 13 cells of the grid around the player, in the top right corner, with the
// sprites (in their drawing order) over the grid characters.
void drawMinimap(FrameView frame, const Game& game, const std::vector<MapObject>& sprites);
void drawLevelName(FrameView frame, const Game& game);
// Health and mana bars and the four spell lines, top left. `ticks` makes the label blink.
void drawStatus(FrameView frame, const Game& game, const KeyNames& keyNames, std::uint32_t ticks);
void drawPauseBox(FrameView frame);
// The staff in the lower right corner, moved by the swing step (0 at rest, 1..4 swinging).
void drawStaff(FrameView frame, int attackFrame);

}  // namespace veldra
