#pragma once

#include <string_view>
#include <vector>

#include "core/records.h"
#include "core/console_screen.h"

namespace veldra {

struct Game;

// The key names the spell lines show, from the active preset.
// (Names from the table of key names, which lives as long as the program.)
struct KeyNames {
  std::string_view ignis;
  std::string_view electrica;
  std::string_view glacies;
  std::string_view herba;
};

// Composes one game frame from the Game's state and writes it in one call. Reads the Game;
// writes only the screen's cells.
void renderFrame(ConsoleScreen& screen, const Game& game, std::vector<MapObject> sprites,
                 const KeyNames& keyNames);

// The same with the list sorted where it lies (the screen's own list, frame after frame).
void renderFrameReusing(ConsoleScreen& screen, const Game& game, std::vector<MapObject>& sprites,
                        const KeyNames& keyNames);

}  // namespace veldra
