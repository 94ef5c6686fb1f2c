// The level loader: the code table, ragged files, remembered pickups and hostile input.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/game.h"
#include "core/level_loader.h"
#include "test_support.h"

namespace veldra {
namespace {
using testing::levelText;

class LevelLoaderTest : public testing::ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    writeFile("otestinggrounds.txt", "Start\n");
  }

  bool load(const std::string& name) { return loadLevel(name, game(), startX, startY); }

  Game& game() {
    if (!game_) game_ = std::make_unique<Game>();
    return *game_;
  }

  char cell(int column, int row) { return game().mapGrid[column + row * game().mapWidth]; }

  std::unique_ptr<Game> game_;
  double startX = 4.0;
  double startY = 4.0;
};

TEST_F(LevelLoaderTest, EveryCodeMakesItsObjectAndLeavesFloor) {
  writeFile("level.txt", levelText("Codes", {"#.PEOAFTMYfwotSkLBmh?"}));
  game().mapObjects.clear();
  game().enemies.clear();
  ASSERT_TRUE(load("level.txt"));

  EXPECT_EQ(game().mapGrid.substr(0, 21), "#...................?");
  EXPECT_EQ(startX, 2.5);
  EXPECT_EQ(startY, 0.5);
  ASSERT_EQ(game().enemies.size(), 1u);
  EXPECT_EQ(game().enemies[0].x, 3.5);
  EXPECT_EQ(game().enemies[0].hp, 200);
  EXPECT_EQ(game().enemies[0].colour, 12);
  EXPECT_TRUE(game().enemies[0].alive);

  const std::map<char, std::uint16_t> colours = {
      {'O', 11}, {'A', 13}, {'F', 14}, {'T', 14}, {'M', 10}, {'Y', 10}, {'f', 10}, {'w', 10},
      {'o', 6},  {'t', 6},  {'S', 12}, {'k', 11}, {'L', 14}, {'B', 2},  {'m', 11}, {'h', 15}};
  ASSERT_EQ(game().mapObjects.size(), colours.size());
  const std::string order = "OAFTMYfwotSkLBmh";
  for (std::size_t i = 0; i < order.size(); ++i) {
    const MapObject& object = game().mapObjects[i];
    EXPECT_EQ(object.glyph, order[i]);
    EXPECT_EQ(object.colour, colours.at(order[i])) << order[i];
    EXPECT_EQ(object.x, 4.5 + i);
    EXPECT_EQ(object.y, 0.5);
  }
}

TEST_F(LevelLoaderTest, RaggedRowsArePaddedCutAndMissingRowsAreWall) {
  writeFile("level.txt", levelText("Ragged", {"##########", std::string(70, '#') + "E", "#"}));
  ASSERT_TRUE(load("level.txt"));
  ASSERT_EQ(game().mapGrid.size(), 64u * 64u);
  EXPECT_EQ(game().mapGrid.substr(0, 64), std::string(10, '#') + std::string(54, '.'));
  EXPECT_EQ(game().mapGrid.substr(64, 64), std::string(64, '#'));
  EXPECT_TRUE(game().enemies.empty()) << "the 71st character of a row is cut";
  EXPECT_EQ(cell(1, 2), '.');
  for (int row = 3; row < 64; ++row) EXPECT_EQ(cell(5, row), '#') << row;
}

TEST_F(LevelLoaderTest, LinesAfterTheLastMapRowAreNeverRead) {
  std::string text = "Long\n";
  for (int row = 0; row < 64; ++row) text += "#\n";
  text += "P\n";
  writeFile("level.txt", text);
  ASSERT_TRUE(load("level.txt"));
  EXPECT_EQ(startX, 4.0);
  EXPECT_EQ(startY, 4.0);
}

TEST_F(LevelLoaderTest, CarriageReturnsAreRemovedOncePerLine) {
  writeFile("crlf.txt", "Name\r\n" + std::string(64, 'P') + "\r\n..\r\r\n");
  ASSERT_TRUE(load("crlf.txt"));
  EXPECT_EQ(game().levelName, "Name");
  EXPECT_EQ(startX, 63.5) << "a full row's carriage return is not a 65th cell";
  EXPECT_EQ(cell(2, 1), '\r') << "only one carriage return is removed";
  EXPECT_EQ(cell(3, 1), '.');

  writeFile("blank-name.txt", "\r\n");
  ASSERT_TRUE(load("blank-name.txt"));
  EXPECT_EQ(game().levelName, "");
}

TEST_F(LevelLoaderTest, EmptyFileIsUnknownSolidLevel) {
  writeFile("empty.txt", "");
  game().mapObjects.clear();
  ASSERT_TRUE(load("empty.txt"));
  EXPECT_EQ(game().levelName, "Unknown Level");
  EXPECT_EQ(game().mapGrid, std::string(64 * 64, '#'));
  EXPECT_TRUE(game().mapObjects.empty());
  EXPECT_EQ(startX, 4.0);
}

TEST_F(LevelLoaderTest, StartPositionIsTheLastPInReadingOrder) {
  writeFile("two.txt", levelText("Two", {"..P", ".P."}));
  ASSERT_TRUE(load("two.txt"));
  EXPECT_EQ(startX, 1.5);
  EXPECT_EQ(startY, 1.5);
}

TEST_F(LevelLoaderTest, MissingFileChangesOnlyFileNameAndTheme) {
  ASSERT_TRUE(load("otestinggrounds.txt"));
  const std::string grid = game().mapGrid;
  EXPECT_FALSE(load("iaxismundi.txt"));
  EXPECT_EQ(game().levelFile, "iaxismundi.txt");
  EXPECT_EQ(game().themeLetter, 'i');
  EXPECT_EQ(game().levelName, "Start");
  EXPECT_EQ(game().mapGrid, grid);

  EXPECT_FALSE(load(""));
  EXPECT_EQ(game().themeLetter, ' ');
}

TEST_F(LevelLoaderTest, ConsumedPickupsAreRememberedPerLevelSlot) {
  writeFile("level.txt", levelText("Pickups", {"SkLBmhOE"}));
  game().consumedPickups = {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}, {0, 4, 0}, {0, 5, 0},
                            {0, 6, 0}, {0, 7, 0}};
  game().mapObjects.clear();
  game().enemies.clear();
  game().levelIndex = 0;
  ASSERT_TRUE(load("level.txt"));
  ASSERT_EQ(game().mapObjects.size(), 1u) << "portals are not pickups";
  EXPECT_EQ(game().mapObjects[0].glyph, 'O');
  EXPECT_EQ(game().enemies.size(), 1u) << "enemies are never remembered";
  EXPECT_EQ(game().mapGrid.substr(0, 8), "...B....") << "a taken HERBA scroll leaves its letter";

  game().mapObjects.clear();
  game().levelIndex = 2;
  ASSERT_TRUE(load("level.txt"));
  EXPECT_EQ(game().mapObjects.size(), 7u) << "the same file in another slot has its own memory";
}

TEST_F(LevelLoaderTest, HostileFilesLoadByTheRules) {
  // NUL bytes and bytes above 0x7F are cells like any other character that is no code.
  std::string binary = "Bin\0ary\n";
  binary = std::string("Bin\0ary\n", 8) + std::string("\0\xff\x80P", 4) + "\n";
  writeFile("binary.txt", binary);
  ASSERT_TRUE(load("binary.txt"));
  EXPECT_EQ(game().levelName, std::string("Bin\0ary", 7));
  EXPECT_EQ(cell(0, 0), '\0');
  EXPECT_EQ(cell(1, 0), '\xff');
  EXPECT_EQ(startX, 3.5);

  // A 1 MB line and 10,000 lines.
  std::string huge = std::string(1 << 20, 'n') + "\n" + std::string(1 << 20, '#') + "\n";
  for (int i = 0; i < 10000; ++i) huge += "E.........\n";
  writeFile("huge.txt", huge);
  game().enemies.clear();
  ASSERT_TRUE(load("huge.txt"));
  EXPECT_EQ(game().mapGrid.size(), 64u * 64u);
  EXPECT_EQ(game().mapGrid.substr(0, 64), std::string(64, '#'));
  EXPECT_EQ(game().enemies.size(), 63u);
  EXPECT_LE(game().levelName.size(), 1u << 20);

  // A directory is not a level.
  std::filesystem::create_directory(directory_ / "folder.txt");
  EXPECT_FALSE(load("folder.txt"));
}

// ---- the shipped levels ----

struct ShippedLevel {
  std::string name;
  std::string grid;
  std::map<char, int> counts;
  double startX = -1, startY = -1;
};

class ShippedLevelsTest : public LevelLoaderTest {
 protected:
  ShippedLevel loadShipped(const std::string& file) {
    installShippedLevel(file);
    game().mapObjects.clear();
    game().enemies.clear();
    ShippedLevel level;
    EXPECT_TRUE(loadLevel(file, game(), level.startX, level.startY));
    level.name = game().levelName;
    level.grid = game().mapGrid;
    for (const MapObject& object : game().mapObjects) ++level.counts[object.glyph];
    level.counts['E'] = static_cast<int>(game().enemies.size());
    return level;
  }
};

TEST_F(ShippedLevelsTest, TogetherTheyHoldEveryCodeAndTwoScrollsOfEachSpell) {
  const ShippedLevel outdoor = loadShipped("otestinggrounds.txt");
  const ShippedLevel indoor = loadShipped("iaxismundi.txt");
  for (const std::string& code : {std::string("OAFTMYfwotSkLBmhE")}) {
    for (char c : code) EXPECT_GT(outdoor.counts.count(c) + indoor.counts.count(c), 0u) << c;
  }
  for (char scroll : std::string("SkLB")) {
    const auto count = [&](const ShippedLevel& level) {
      const auto it = level.counts.find(scroll);
      return it == level.counts.end() ? 0 : it->second;
    };
    EXPECT_EQ(count(outdoor) + count(indoor), 2) << scroll;
  }
  EXPECT_GE(outdoor.counts.at('O'), 1);
  EXPECT_EQ(outdoor.counts.count('A'), 0u) << "the first level has nowhere to go back to";
  EXPECT_GE(indoor.counts.at('O'), 1);
  EXPECT_GE(indoor.counts.at('A'), 1);
}

TEST_F(ShippedLevelsTest, AreWalledAndStartFacingOpenFloor) {
  for (const std::string file : {"otestinggrounds.txt", "iaxismundi.txt"}) {
    const ShippedLevel level = loadShipped(file);
    ASSERT_EQ(level.grid.size(), 64u * 64u);
    for (int i = 0; i < 64; ++i) {
      EXPECT_EQ(level.grid[i], '#') << file;
      EXPECT_EQ(level.grid[63 * 64 + i], '#') << file;
      EXPECT_EQ(level.grid[i * 64], '#') << file;
      EXPECT_EQ(level.grid[i * 64 + 63], '#') << file;
    }
    ASSERT_GE(level.startX, 0.0) << file << " has a start";
    const int column = static_cast<int>(level.startX);
    const int row = static_cast<int>(level.startY);
    EXPECT_EQ(level.grid[row * 64 + column + 1], '.') << file;
    EXPECT_EQ(level.grid[row * 64 + column + 2], '.') << file;
  }
  EXPECT_EQ(loadShipped("otestinggrounds.txt").name, "Testing Grounds");
}

}  // namespace
}  // namespace veldra
