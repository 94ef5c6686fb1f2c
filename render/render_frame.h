#pragma once

#include <string>
#include <vector>

#include "core/records.h"
#include "core/console_screen.h"

namespace veldra {

struct Game;

// The key names the spell lines show, from the active preset.
struct KeyNames {
  std::string ignis;
  std::string electrica;
  std::string glacies;
  std::string herba;
};

// Composes one game frame from the Game's state and writes it in one call. Reads the Game;
// writes only the screen's cells.
void renderFrame(ConsoleScreen& screen, const Game& game, std::vector<MapObject> sprites,
                 const KeyNames& keyNames);

}  // namespace veldra
