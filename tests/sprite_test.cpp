// Sprites: the frame's list, projection limits, the depth test, shaders and health labels.

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>

#include "render/sprites.h"
#include "platform/random.h"
#include "core/object_kinds.h"
#include "render_support.h"

namespace veldra {
namespace {

class SpriteTest : public testing::RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    game().playerX = 10.5;
    game().playerY = 32.5;
    game().playerAngle = 0.0;
  }
  void placeAhead(char glyph, double distance, double angle = 0.0, std::uint16_t colour = 11) {
    game().mapObjects.push_back(
        {game().playerX + distance * std::cos(angle), game().playerY + distance * std::sin(angle), glyph, colour});
  }
  int countGlyph(char glyph, int fromColumn = 0, int toColumn = 79) {
    int count = 0;
    for (int row = 0; row < 25; ++row) {
      for (int column = fromColumn; column <= toColumn; ++column) count += charAt(column, row) == glyph;
    }
    return count;
  }
};

// Columns beyond a look's reach are skipped: no cell there may be drawn, nor take anything
// from the random generator, for any glyph, colour or row.
TEST(SpriteReachTest, NoLookDrawsOrDrawsRandomlyBeyondItsReach) {
  for (int byte = 1; byte < 256; ++byte) {
    const char glyph = static_cast<char>(byte);
    const ObjectKind* kind = objectKind(glyph);
    const double reach = shadedReach(kind, glyph);
    for (double u = reach; u <= 1.0; u += 0.01) {
      for (int ly = 0; ly <= 40; ++ly) {
        const unsigned before = platform::rand15State();
        const Shade shade = shadeSprite(glyph, 0x0E, {u, ly / 40.0, 20 + static_cast<int>(u * 20), ly, 40});
        ASSERT_FALSE(shade.visible()) << "'" << glyph << "' at u " << u << ", v " << ly / 40.0;
        ASSERT_EQ(platform::rand15State(), before) << "'" << glyph << "' drew at u " << u;
      }
    }
  }
}

TEST_F(SpriteTest, TheListHoldsObjectsLivingEnemiesAndBoltsByKind) {
  game().mapObjects.push_back({1.5, 1.5, 'T', 14});
  game().enemies.push_back({2.5, 2.5, 300, 12, true});
  game().enemies.push_back({3.5, 3.5, 50, 12, false});
  game().enemies.push_back({4.5, 4.5, -5, 12, true});
  game().projectiles.push_back({5.0, 5.0, 0.25, 0.0});   // IGNIS
  game().projectiles.push_back({6.0, 6.0, 0.0, 0.55});   // ELECTRICA
  game().projectiles.push_back({7.0, 7.0, 0.6, 0.0});    // faster: debris and a green bolt
  const std::vector<MapObject> sprites = buildSpriteList(game());
  ASSERT_EQ(sprites.size(), 1u + 2u + 1u + 1u + 6u);
  EXPECT_EQ(sprites[1].glyph, 'E');
  EXPECT_EQ(sprites[1].colour, (255 << 8) | 12) << "health over 255 is labelled 255";
  EXPECT_EQ(sprites[2].colour, 12) << "negative health is labelled 0";
  EXPECT_EQ(sprites[3].glyph, '*');
  EXPECT_EQ(sprites[3].colour, 12);
  EXPECT_EQ(sprites[4].glyph, '/');
  EXPECT_EQ(sprites[4].colour, 14);
  for (int i = 5; i < 10; ++i) {
    EXPECT_NE(std::string(".,`\"").find(sprites[i].glyph), std::string::npos);
    EXPECT_LE(std::fabs(sprites[i].x - 7.0), 0.2);
    EXPECT_EQ(sprites[i].colour, 10);
  }
  EXPECT_EQ(sprites[10].glyph, '*');
  EXPECT_EQ(sprites[10].colour, 10);
}

TEST_F(SpriteTest, SortingPutsTheFarthestFirst) {
  std::vector<MapObject> sprites = {{11, 32.5, 'a', 1}, {20, 32.5, 'b', 1}, {15, 32.5, 'c', 1}};
  sortFarthestFirst(sprites, game().playerX, game().playerY);
  EXPECT_EQ(sprites[0].glyph, 'b');
  EXPECT_EQ(sprites[1].glyph, 'c');
  EXPECT_EQ(sprites[2].glyph, 'a');
}

// Frame after frame the sort starts from the last frame's order; whatever that was, the
// result is the standard sort's of the list as built, ties (sprites on a grid seen from a
// cell's centre) and lists that grow or shrink included.
TEST_F(SpriteTest, TheSortKeptFromFrameToFrameOrdersAsTheStandardSortDoes) {
  SpriteOrder kept;
  std::uint32_t seed = 7;
  const auto next = [&seed](int below) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(below));
  };
  std::vector<MapObject> level;
  for (int frame = 0; frame < 300; ++frame) {
    if (frame % 50 == 0) {  // a new level: every other one a grid, where distances tie
      level.clear();
      const bool grid = frame % 100 == 50;
      const int count = grid ? 40 : 30 + frame / 10;
      for (int i = 0; i < count; ++i) {
        const double jitter = grid ? 0.0 : next(1000) * 1e-3;
        level.push_back({next(9) + 0.5 + jitter, next(9) + 0.5, 'a', static_cast<std::uint16_t>(i)});
      }
    }
    std::vector<MapObject> built = level;
    if (frame % 7 == 3) built.push_back({1.25, 2.5, '*', 999});  // a bolt for a frame
    const double x = frame % 3 == 0 ? 4.5 : 4.5 + 0.01 * (frame % 17);
    std::vector<MapObject> expected = built;
    const auto far = [x](const MapObject& s) { return (s.x - x) * (s.x - x) + (s.y - 4.5) * (s.y - 4.5); };
    std::sort(expected.begin(), expected.end(), [&](const MapObject& a, const MapObject& b) { return far(a) > far(b); });
    sortFarthestFirst(built, x, 4.5, kept);
    ASSERT_EQ(built.size(), expected.size());
    for (std::size_t i = 0; i < built.size(); ++i) ASSERT_EQ(built[i].colour, expected[i].colour) << "frame " << frame << ", place " << i;
  }
}

TEST_F(SpriteTest, TooCloseOrTooLargeSpritesAreSkipped) {
  placeAhead('O', 0.3);
  render();
  EXPECT_EQ(countGlyph('O', 20, 60), 0) << "0.3 cells is too close";
  game().mapObjects.clear();
  placeAhead('O', 0.31);  // its square would be 161 cells, more than twice 80
  render();
  EXPECT_EQ(countGlyph('O', 20, 60), 0);
  game().mapObjects.clear();
  placeAhead('O', 0.32);  // 155 cells: drawn, clipped to the frame
  render();
  EXPECT_EQ(charAt(40, 12), 'O');
  EXPECT_EQ(charAt(0, 20), 'O');
}

TEST_F(SpriteTest, SpritesJustPastTheViewsEdgeAreDrawnPartly) {
  placeAhead('O', 5.0, 0.43);
  render();
  EXPECT_GT(countGlyph('O', 78, 79), 0);
  game().mapObjects.clear();
  placeAhead('O', 5.0, 0.44);
  render();
  EXPECT_EQ(countGlyph('O', 78, 79), 0);
}

TEST_F(SpriteTest, WallsHideSpritesBehindThem) {
  std::vector<std::string> rows(64, std::string(14, '.') + "#");
  useLevel("otestinggrounds.txt", rows);
  game().playerX = 10.5;
  placeAhead('O', 8.0);  // behind the wall 4 cells ahead
  render();
  EXPECT_EQ(countGlyph('O', 30, 50), 0);
  game().mapObjects.clear();
  placeAhead('O', 3.0);
  render();
  EXPECT_GT(countGlyph('O', 30, 50), 0);
}

TEST_F(SpriteTest, EnemiesWearTheirHealthCentredAboveThem) {
  game().enemies.push_back({13.5, 32.5, 200, 12, true});  // 3 cells ahead: top row 4, 17 wide
  render();
  EXPECT_EQ(rowText(3, 37, 6), "200 HP");
  for (int column = 37; column <= 42; ++column) {
    EXPECT_EQ(attributeAt(column, 3), 12);
    EXPECT_NE(charAt(column, 4), '=') << "the head under a label character is left out";
  }
  EXPECT_EQ(charAt(36, 4), '=');
  EXPECT_EQ(attributeAt(36, 4), 12);

  game().enemies[0].x = 12.5;  // 2 cells: the top row is row 0, so there is no label row
  render();
  EXPECT_EQ(charAt(40, 0), '=');

  game().enemies[0].x = 30.5;  // far: 3 cells wide, the label cut to "0 H"
  render();
  EXPECT_EQ(rowText(10, 39, 3), "0 H") << rowText(10);
  EXPECT_NE(attributeAt(38, 10), 12);
  EXPECT_NE(attributeAt(42, 10), 12);
}

TEST_F(SpriteTest, ParticlesAreSingleCellsOnTheMiddleRow) {
  game().particles.push_back({15.5, 32.5, 0, 0, 5, 13});
  render();
  EXPECT_EQ(charAt(40, 12), 'x');
  EXPECT_EQ(attributeAt(40, 12), 13);
}

TEST_F(SpriteTest, DebrisPointsAreDrawnOnTheMiddleRow) {
  game().projectiles.push_back({15.5, 32.5, 0.6, 0.0});
  render();
  int points = 0;
  for (int column = 30; column < 50; ++column) {
    if (std::string(".,`\"").find(charAt(column, 12)) != std::string::npos && attributeAt(column, 12) == 10) ++points;
  }
  EXPECT_GE(points, 1);
  EXPECT_EQ(charAt(40, 11), '*') << "the bolt itself";
  EXPECT_EQ(attributeAt(40, 11), 10);
}

TEST_F(SpriteTest, TheHealthCrossAlwaysHasItsBar) {
  // Whatever the square's size, the box's row nearest v = 0.8 carries the bar.
  for (int n = 4; n <= 60; ++n) {
    int bars = 0;
    int plus = 0;
    for (int ly = 0; ly < n; ++ly) {
      for (int lx = 0; lx < n; ++lx) {
        const double half = n / 2.0;
        const auto shade = shadeSprite('h', 15, {std::fabs(lx - half) / half, double(ly) / n, lx, ly, n});
        if (shade.c == '-') ++bars;
        if (shade.c == '+') ++plus;
      }
    }
    EXPECT_GT(bars + plus, 0) << n;
  }
}

TEST_F(SpriteTest, ShadersDrawTheirShapes) {
  const auto at = [](char glyph, double u, double v, std::uint16_t colour = 11) {
    return shadeSprite(glyph, colour, {u, v, 0, 0, 10});
  };
  EXPECT_EQ(at('T', 0.0, 0.1).c, '_');
  EXPECT_EQ(at('T', 0.0, 0.5).attribute, 7);
  EXPECT_FALSE(at('T', 0.3, 0.5).visible());
  EXPECT_EQ(at('E', 0.0, 0.1, 0x0C0C).attribute, 12) << "the health byte is not a colour";
  EXPECT_EQ(at('S', 0.1, 0.9).c, '^');
  EXPECT_EQ(at('k', 0.1, 0.9).c, '-');
  EXPECT_EQ(at('L', 0.1, 0.9).c, '~');
  EXPECT_FALSE(at('L', 0.1, 0.5).visible());
  EXPECT_EQ(at('m', 0.1, 0.8).c, '|');
  EXPECT_EQ(at('m', 0.3, 0.8).c, 'U');
  EXPECT_EQ(at('A', 0.5, 0.5).c, 'A');
  EXPECT_FALSE(at('A', 0.5, 0.2).visible());
  EXPECT_EQ(at('A', 0.05, 0.2).c, 'A');
  EXPECT_EQ(at('*', 0.0, 0.5).c, '*');
  EXPECT_FALSE(at('*', 0.4, 0.5).visible());
}

}  // namespace
}  // namespace veldra
