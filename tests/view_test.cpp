// The 3D view: walls, sky, floor, torch light and rain.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "render/raycaster.h"
#include "render_support.h"

namespace veldra {
namespace {

namespace headless = platform::headless;

class ViewTest : public testing::RenderTest {
 protected:
  // A vertical wall line at column `wallColumn` of an otherwise open level.
  void wallAtColumn(int wallColumn) {
    std::vector<std::string> rows;
    for (int row = 0; row < 64; ++row) rows.push_back(std::string(wallColumn, '.') + "#");
    useLevel("otestinggrounds.txt", rows);
  }
};

TEST_F(ViewTest, TheSunStandsOnRowTwoAlongAngleZero) {
  game().playerX = 32.0;
  game().playerY = 32.0;
  render();
  // Columns within 0.08 radians of the view line (each column is pi/4 / 80 apart).
  for (int column = 32; column <= 48; ++column) {
    EXPECT_EQ(charAt(column, 2), '\xDB') << column;
    EXPECT_EQ(attributeAt(column, 2), 0x6E) << column;
  }
  EXPECT_EQ(attributeAt(31, 2), 0x19);
  EXPECT_EQ(attributeAt(49, 2), 0x19);
  EXPECT_EQ(attributeAt(40, 1), 0x19) << "the sun is one row tall";
  // The hills along angle 0 top out at row 9.
  EXPECT_EQ(charAt(40, 9), 'n');
  EXPECT_EQ(charAt(40, 10), '#');
  EXPECT_EQ(attributeAt(40, 10), 2);
}

TEST_F(ViewTest, TheCloudDriftsOneRadianEvery36Seconds) {
  game().playerX = 32.0;
  game().playerY = 32.0;
  render();
  EXPECT_NE(attributeAt(40, 3), 0x1F) << "at tick 0 the cloud stands at a quarter turn";
  headless::setTickCount(static_cast<std::uint32_t>(std::lround(36000.0 * std::numbers::pi / 2.0)));
  render();
  EXPECT_EQ(charAt(40, 3), '\xDF');
  EXPECT_EQ(attributeAt(40, 3), 0x1F);
  EXPECT_EQ(attributeAt(40, 2), 0x6E) << "the sun is drawn over the cloud";
}

TEST_F(ViewTest, WallCharactersThinOutWithDistance) {
  EXPECT_EQ(wallCharacter(4.8, 32.0), '@');
  EXPECT_EQ(wallCharacter(std::nextafter(4.8, 5.0), 32.0), 'X');
  EXPECT_EQ(wallCharacter(std::nextafter(11.2, 0.0), 32.0), 'X');
  EXPECT_EQ(wallCharacter(11.2, 32.0), 'x');
  EXPECT_EQ(wallCharacter(19.2, 32.0), '.');
  EXPECT_EQ(wallCharacter(25.6, 32.0), ' ');
}

TEST_F(ViewTest, DistancesAreTrueLengthsWithoutFisheyeCorrection) {
  wallAtColumn(10);
  game().playerX = 5.5;
  game().playerY = 32.5;
  EXPECT_DOUBLE_EQ(castRay(game(), 5.5, 32.5, 0.0, 32.0).distance, 4.5);
  EXPECT_NEAR(castRay(game(), 5.5, 32.5, 0.3, 32.0).distance, 4.5 / std::cos(0.3), 1e-9);
  EXPECT_EQ(castRay(game(), 5.5, 32.5, std::numbers::pi, 32.0).distance, 32.0) << "leaving the grid is maxDepth";
}

TEST_F(ViewTest, TheViewsMarchMeetsTheSameWallsAsThePlainOne) {
  // Ragged rows (a short row's missing cells are floor), a wall on the grid's edge, and
  // viewpoints inside, on the edge and outside the grid.
  useLevel("otestinggrounds.txt", {"#..#....", "...", "#.......#.", "....#", "..#....##"});
  MarchGrid grid;
  fitMarchGrid(grid, game());
  for (const double x : {0.5, 2.25, 7.9, 9.5, -0.5, 12.0}) {
    for (const double y : {0.5, 1.75, 4.5, -1.5, 6.5}) {
      for (int step = 0; step < 32; ++step) {
        const double angle = step * std::numbers::pi / 16.0;
        const RayHit plain = castRayAlong(game(), x, y, std::cos(angle), std::sin(angle), 32.0);
        const RayHit marched = castRayThrough(grid, game(), x, y, std::cos(angle), std::sin(angle), 32.0);
        EXPECT_EQ(plain.distance, marched.distance) << x << "," << y << " at " << angle;
        EXPECT_EQ(plain.cellX, marched.cellX) << x << "," << y << " at " << angle;
        EXPECT_EQ(plain.cellY, marched.cellY) << x << "," << y << " at " << angle;
      }
    }
  }
  EXPECT_EQ(castRayThrough(grid, game(), 1.5, 1.5, 0.0, -1.0, 32.0).distance, 32.0);
  useLevel("otestinggrounds.txt", {"#####"});
  fitMarchGrid(grid, game());
  EXPECT_EQ(castRayThrough(grid, game(), 1.5, 1.5, 0.0, -1.0, 32.0).distance, 0.5)
      << "another level's grid is marched anew";
}

TEST_F(ViewTest, AWallCloserThanATenthFillsTheColumnAndKeepsItsTrueDistance) {
  wallAtColumn(10);
  game().playerX = 9.95;
  game().playerY = 32.5;
  headless::setWindowSize(80, 25);
  ASSERT_TRUE(prepareFrame(game().screen, {80, 25}, 7));
  const FrameView frame{game().screen.cells.get(), 80, 25};
  const std::vector<double> depth = drawWalls(frame, game(), game().screen, {}, 0);
  EXPECT_NEAR(depth[40], 0.05, 1e-12);
  for (int row = 0; row < 25; ++row) EXPECT_EQ(frame.at(40, row).Char.AsciiChar, '@') << row;
}

TEST_F(ViewTest, TorchesLightTheWallCellTheRayReached) {
  wallAtColumn(15);
  game().playerX = 2.5;
  game().playerY = 10.5;  // the centre ray meets cell (15, 10), 12.5 cells away: 'x'
  ASSERT_TRUE(prepareFrame(game().screen, {80, 25}, 7));
  const FrameView frame{game().screen.cells.get(), 80, 25};
  const auto centreWall = [&](std::vector<MapObject> sprites) {
    drawWalls(frame, game(), game().screen, sprites, 0);
    return std::make_pair(frame.at(40, 12).Char.AsciiChar, frame.at(40, 12).Attributes);
  };
  const MapObject near{16.5, 10.0, 'T', 14};   // 1.5 from the cell's corner
  const MapObject far{15.0, 13.0, 'T', 14};    // 3 from it
  const MapObject beyond{15.0, 13.01, 'T', 14};
  EXPECT_EQ(centreWall({}), std::make_pair('x', std::uint16_t{7}));
  EXPECT_EQ(centreWall({near}), std::make_pair('@', std::uint16_t{14}));
  EXPECT_EQ(centreWall({far}), std::make_pair('X', std::uint16_t{4}));
  EXPECT_EQ(centreWall({beyond}), std::make_pair('x', std::uint16_t{7}));
  EXPECT_EQ(centreWall({near, far}), std::make_pair('@', std::uint16_t{4})) << "the later torch's colour wins";
  EXPECT_EQ(centreWall({MapObject{16.5, 10.0, 'F', 14}}), std::make_pair('x', std::uint16_t{7}));
}

TEST_F(ViewTest, ALevelWithoutABorderShowsBlankHorizonSlices) {
  std::vector<std::string> rows(64, std::string(64, '.'));
  useLevel("iopen.txt", rows);  // indoor theme: black ceiling, brown floor
  game().playerX = 32.5;
  game().playerY = 32.5;
  render();
  // maxDepth 32: the slice covers rows 11 to 14 with spaces in attribute 7.
  for (int row = 11; row <= 14; ++row) {
    EXPECT_EQ(charAt(30, row), ' ');
    EXPECT_EQ(attributeAt(30, row), 7);
  }
  EXPECT_EQ(attributeAt(30, 10), 0) << "ceiling";
  EXPECT_EQ(attributeAt(30, 15), 6) << "brown floor";
  EXPECT_EQ(charAt(30, 24), '#') << "the floor's nearest band";
}

TEST_F(ViewTest, RainIsSeededFromThreeDrawsPerDropAndFalls) {
  game().playerX = 32.0;
  game().playerY = 32.0;
  render();
  const auto& drops = game().screen.rainDrops;
  ASSERT_EQ(drops.size(), 25u);
  EXPECT_TRUE(game().screen.rainStarted);
  // Replay the generator: column, row, speed for the first drop, then one frame of falling.
  unsigned state = 1;
  const auto next = [&state] {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  };
  const int column = next() % 80;
  const int row = next() % 25;
  const double speed = 3.65 + 2.15 * next() / 32767.0;
  EXPECT_EQ(drops[0].column, column);
  EXPECT_DOUBLE_EQ(drops[0].speed, speed);
  ASSERT_LT(static_cast<int>(row + speed), 25) << "the seed's first drop does not restart";
  EXPECT_DOUBLE_EQ(drops[0].row, row + speed);
}

TEST_F(ViewTest, RainStopsOnOtherThemesAndHidesLowBeforeNearWalls) {
  game().playerX = 32.0;
  game().playerY = 32.0;
  render();
  const std::vector<RainDrop> before = game().screen.rainDrops;
  useLevel("iaxis.txt", {"#"});
  render();
  ASSERT_EQ(game().screen.rainDrops.size(), before.size());
  EXPECT_EQ(game().screen.rainDrops[3].row, before[3].row) << "kept, not moved, indoors";

  wallAtColumn(34);  // outdoors again, a wall two cells ahead in every column
  game().playerX = 32.0;
  int above = 0;
  for (int frame = 0; frame < 20; ++frame) {
    render();
    for (int row = 0; row < 25; ++row) {
      for (int column = 0; column < 80; ++column) {
        const bool drop = charAt(column, row) == '.' && (attributeAt(column, row) & 0xF) == 9;
        if (!drop) continue;
        EXPECT_LT(row, 25 / 2 - 2) << "a drop below the wall's top half";
        ++above;
      }
    }
  }
  EXPECT_GT(above, 0);
}

}  // namespace
}  // namespace veldra
