// The shipped levels played from the title by the autopilot: a scroll, a kill, a health
// pickup, the forward portal and the way back. The proof that the levels can be played.

#include <gtest/gtest.h>

#include <algorithm>

#include "autopilot.h"
#include "core/colours.h"
#include "core/game.h"
#include "core/geometry.h"
#include "core/level_loader.h"
#include "core/map_grid.h"
#include "player/movement.h"
#include "player/spells.h"
#include "test_support.h"
#include "world/update_world.h"

namespace veldra {
namespace {

class PlaythroughTest : public testing::ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    installShippedLevel("otestinggrounds.txt");
    installShippedLevel("iaxismundi.txt");
  }
};

// Loads a shipped level as a portal would, the player at its start.
void enterLevel(Game& game, int levelIndex) {
  game.mapObjects.clear();
  game.enemies.clear();
  game.particles.clear();
  game.projectiles.clear();
  game.levelIndex = levelIndex;
  ASSERT_TRUE(loadLevel(game.levelFiles[levelIndex], game, game.playerX, game.playerY));
}

// On both levels: every object, enemy and portal can be reached on foot from the start
// (walls and solid objects in the way), and a player who stands still at the start is
// not touched by any enemy in the first twenty seconds.
TEST_F(PlaythroughTest, EverythingIsReachableAndNoEnemyArrivesAtOnce) {
  constexpr int kTwentySeconds = 20000 / 16;
  constexpr double kTouch = 0.7;
  for (int level : {0, 1}) {
    Game game;
    enterLevel(game, level);
    SCOPED_TRACE(game.levelFile);
    testing::Autopilot pilot(game);
    const testing::Cell start{cellIndexOf(game.playerX), cellIndexOf(game.playerY)};
    const auto reachable = [&](double x, double y) {
      const testing::Cell cell{cellIndexOf(x), cellIndexOf(y)};
      return cell == start || !pilot.pathTo(cell).empty();
    };
    for (const MapObject& object : game.mapObjects) {
      EXPECT_TRUE(reachable(object.x, object.y)) << object.glyph << " at (" << object.x << ", " << object.y << ")";
    }
    for (const Enemy& enemy : game.enemies) {
      EXPECT_TRUE(reachable(enemy.x, enemy.y)) << "the enemy at (" << enemy.x << ", " << enemy.y << ")";
    }
    double nearest = 1e9;
    const int health = game.hp;
    for (int frame = 0; frame < kTwentySeconds; ++frame) {
      updateWorld(game);
      for (const Enemy& enemy : game.enemies) {
        nearest = std::min(nearest, distanceBetween(enemy.x, enemy.y, game.playerX, game.playerY));
      }
    }
    EXPECT_GE(nearest, kTouch) << "an enemy reached the player standing at the start";
    EXPECT_EQ(game.hp, health);
  }
}

// The first thing a new player sees on the Testing Grounds is the IGNIS scroll: its mark,
// in the scroll's light red, is in the first frame of play.
TEST_F(PlaythroughTest, TheIgnisScrollIsInTheFirstView) {
  Game game;
  testing::Autopilot pilot(game);
  ASSERT_TRUE(pilot.frameWith({vk::kEnter}));
  ASSERT_FALSE(game.inFrontEnd);
  const auto& frame = platform::headless::lastFrame();
  const bool shown = std::any_of(frame.begin(), frame.end(), [](const CHAR_INFO& cell) {
    return cell.Char.AsciiChar == '^' && (cell.Attributes & 0x0F) == colour::kLightRed;
  });
  EXPECT_TRUE(shown);
}

// The whole route, as a player would take it: every spell learned (and upgraded on the Axis
// Mundi), the mana potion taken, every enemy on both levels killed, and on through the Axis
// Mundi's portal, never dying.
TEST_F(PlaythroughTest, TheWholeRouteFromTheTitleToTheSecondTestingGrounds) {
  Game game;
  testing::Autopilot pilot(game);
  ASSERT_TRUE(playWholeRoute(pilot, game)) << pilot.failure();
  EXPECT_EQ(game.levelIndex, 2);
  EXPECT_TRUE(game.ignisUpgraded && game.herbaUpgraded && game.electricaUpgraded && game.glaciesUpgraded);
  EXPECT_TRUE(game.manaInfusion);
  std::printf("the whole route: %d frames, lowest health %d\n", pilot.frames(), pilot.lowestHealth());
}

TEST_F(PlaythroughTest, BothLevelsArePlayableFromTheTitleAndBack) {
  Game game;
  testing::Autopilot pilot(game);
  ASSERT_TRUE(playFight(pilot, game)) << pilot.failure();
  ASSERT_TRUE(playRoundTrip(pilot, game)) << pilot.failure();
  EXPECT_EQ(game.levelFile, "otestinggrounds.txt");
  EXPECT_TRUE(game.alive);
  // Back on the first level, what was taken there stays taken.
  ASSERT_GE(game.consumedPickups.size(), 2u) << "the scroll and the health pickup";
  for (const ConsumedPickup& taken : game.consumedPickups) {
    if (taken.levelIndex != 0) continue;
    EXPECT_FALSE(std::any_of(game.mapObjects.begin(), game.mapObjects.end(), [&](const MapObject& o) {
      return static_cast<int>(o.x) == taken.x && static_cast<int>(o.y) == taken.y;
    })) << "the pickup taken at (" << taken.x << ", " << taken.y << ") came back";
  }
  std::printf("played %d frames, %d bolt kills, health %d\n", pilot.frames(), pilot.boltKills(), game.hp);
}

}  // namespace
}  // namespace veldra
