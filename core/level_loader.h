#pragma once

#include <array>
#include <string>

namespace veldra {

struct Game;
constexpr int kLevelSlots = 10;

// Reads a level file into the grid, the map objects, the enemies and the start position.
// Writes levelFile and themeLetter always; everything else only when the file opened.
// Appends to mapObjects and enemies (the caller empties them for a fresh level) and skips
// pickups remembered for the current levelIndex. False when the file cannot be opened.
bool loadLevel(const std::string& fileName, Game& game, double& startX, double& startY);

// A level's look, from the first letter of its file name: 'o' gives the outdoors (sky, sun,
// rain, chirps), 'i' the indoors (torch-lit walls), anything else plain.
enum class Theme { Outdoor, Indoor, Plain };
Theme themeOf(char themeLetter);

// The level table at start-up: slot 0 and slots 2..9 the testing grounds, slot 1 the axis.
std::array<std::string, kLevelSlots> defaultLevelTable();
void fillLevelTable(Game& game);

}  // namespace veldra
