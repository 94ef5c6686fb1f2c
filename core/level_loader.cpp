#include "core/level_loader.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <istream>
#include <system_error>

#include "core/game.h"
#include "core/map_grid.h"
#include "core/object_kinds.h"

namespace veldra {
namespace {

constexpr const char* kUnknownLevelName = "Unknown Level";
// A name line longer than this keeps only its start: the name is shown on one screen row.
constexpr std::size_t kMaxNameLength = 4096;

// Reads one line, keeping at most `keep` characters and skipping the rest, so a huge line
// costs no memory. False at end of file with nothing read.
bool readLine(std::istream& in, std::string& line, std::size_t keep) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  bool readAny = false;
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) return readAny;
    readAny = true;
    if (c == '\n') return true;
    if (line.size() < keep) line.push_back(static_cast<char>(c));
  }
}

void removeTrailingCarriageReturn(std::string& line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
}

bool isConsumed(const Game& game, int column, int row) {
  for (const ConsumedPickup& pickup : game.consumedPickups) {
    if (pickup.levelIndex == game.levelIndex && pickup.x == column && pickup.y == row) return true;
  }
  return false;
}

// Acts on one cell's code and returns what the grid keeps in that cell.
char readCell(Game& game, char c, int column, int row, double& startX, double& startY) {
  const double x = column + 0.5;
  const double y = row + 0.5;
  if (c == 'P') {
    startX = x;
    startY = y;
    return kFloorCell;
  }
  if (c == kEnemyGlyph) {
    Enemy enemy;  // whole health, its own colour
    enemy.x = x;
    enemy.y = y;
    game.enemies.push_back(enemy);
    return kFloorCell;
  }
  const ObjectKind* kind = objectKind(c);
  if (!kind || !kind->placed()) return c;  // walls, floor and characters that are no object stay as they are
  if (kind->consumable && isConsumed(game, column, row)) {
    return c == kLetterLeftWhenTaken ? c : kFloorCell;
  }
  game.mapObjects.push_back(MapObject{x, y, kind->glyph, kind->colour});
  return kFloorCell;
}

bool isOpenableFile(const std::string& fileName) {
  std::error_code error;
  return !fileName.empty() && !std::filesystem::is_directory(fileName, error);
}

}  // namespace

Theme themeOf(char themeLetter) {
  if (themeLetter == 'o' || themeLetter == 'O') return Theme::Outdoor;
  if (themeLetter == 'i' || themeLetter == 'I') return Theme::Indoor;
  return Theme::Plain;
}

std::array<std::string, kLevelSlots> defaultLevelTable() {
  std::array<std::string, kLevelSlots> table;
  for (std::string& file : table) file = "otestinggrounds.txt";
  table[1] = "iaxismundi.txt";
  return table;
}

void fillLevelTable(Game& game) { game.levelFiles = defaultLevelTable(); }

bool loadLevel(const std::string& fileName, Game& game, double& startX, double& startY) {
  game.levelFile = fileName;
  game.themeLetter = fileName.empty() ? ' ' : fileName[0];

  if (!isOpenableFile(fileName)) return false;
  std::ifstream in(fileName, std::ios::binary);
  if (!in.is_open()) return false;

  std::string name;
  if (!readLine(in, name, kMaxNameLength)) name = kUnknownLevelName;
  removeTrailingCarriageReturn(name);
  game.levelName = name;

  const int width = game.mapWidth > 0 ? game.mapWidth : 0;
  const int height = game.mapHeight > 0 ? game.mapHeight : 0;
  std::string grid;
  grid.reserve(static_cast<std::size_t>(width) * height);
  std::string line;
  int row = 0;
  // One character more than a row holds, so a full row's carriage return is still seen.
  while (row < height && readLine(in, line, static_cast<std::size_t>(width) + 1)) {
    removeTrailingCarriageReturn(line);
    line.resize(static_cast<std::size_t>(width), kFloorCell);
    for (int column = 0; column < width; ++column) {
      line[column] = readCell(game, line[column], column, row, startX, startY);
    }
    grid += line;
    ++row;
  }
  for (; row < height; ++row) grid.append(static_cast<std::size_t>(width), kWallCell);

  game.mapGrid = std::move(grid);
  return true;
}

}  // namespace veldra
