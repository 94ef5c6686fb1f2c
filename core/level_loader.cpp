#include "core/level_loader.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <istream>
#include <system_error>

#include "core/game.h"

namespace veldra {
namespace {

constexpr char kWall = '#';
constexpr char kFloor = '.';
constexpr const char* kUnknownLevelName = "Unknown Level";
// A name line longer than this keeps only its start: the name is shown on one screen row.
constexpr std::size_t kMaxNameLength = 4096;

struct ObjectCode {
  char glyph;
  std::uint16_t colour;
  bool consumable;  // a pickup, remembered once taken
};

constexpr ObjectCode kObjectCodes[] = {
    {'O', 11, false}, {'A', 13, false}, {'F', 14, false}, {'T', 14, false}, {'M', 10, false},
    {'Y', 10, false}, {'f', 10, false}, {'w', 10, false}, {'o', 6, false},  {'t', 6, false},
    {'S', 12, true},  {'k', 11, true},  {'L', 14, true},  {'B', 2, true},   {'m', 11, true},
    {'h', 15, true},
};

// The object code of each byte, looked up once per cell: index + 1 into kObjectCodes, or 0.
constexpr std::array<std::uint8_t, 256> kCodeOfByte = [] {
  std::array<std::uint8_t, 256> table{};
  for (std::size_t i = 0; i < std::size(kObjectCodes); ++i) {
    table[static_cast<unsigned char>(kObjectCodes[i].glyph)] = static_cast<std::uint8_t>(i + 1);
  }
  return table;
}();

const ObjectCode* findObjectCode(char c) {
  const std::uint8_t index = kCodeOfByte[static_cast<unsigned char>(c)];
  return index == 0 ? nullptr : &kObjectCodes[index - 1];
}

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
    return kFloor;
  }
  if (c == 'E') {
    game.enemies.push_back(Enemy{x, y, 200, 12, true});
    return kFloor;
  }
  const ObjectCode* code = findObjectCode(c);
  if (!code) return c;  // walls, floor and characters that are no code stay as they are
  if (code->consumable && isConsumed(game, column, row)) {
    return c == 'B' ? 'B' : kFloor;  // a taken HERBA scroll leaves its letter behind
  }
  game.mapObjects.push_back(MapObject{x, y, code->glyph, code->colour});
  return kFloor;
}

bool isOpenableFile(const std::string& fileName) {
  std::error_code error;
  return !fileName.empty() && !std::filesystem::is_directory(fileName, error);
}

}  // namespace

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
    line.resize(static_cast<std::size_t>(width), kFloor);
    for (int column = 0; column < width; ++column) {
      line[column] = readCell(game, line[column], column, row, startX, startY);
    }
    grid += line;
    ++row;
  }
  for (; row < height; ++row) grid.append(static_cast<std::size_t>(width), kWall);

  game.mapGrid = std::move(grid);
  return true;
}

}  // namespace veldra
