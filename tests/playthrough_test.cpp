// The shipped levels played from the title by the autopilot: a scroll, a kill, a health
// pickup, the forward portal and the way back. The proof that the levels can be played.

#include <gtest/gtest.h>

#include <algorithm>

#include "autopilot.h"
#include "core/game.h"
#include "player/movement.h"
#include "player/spells.h"
#include "test_support.h"

namespace veldra {
namespace {

using testing::Autopilot;
using testing::Cell;

class PlaythroughTest : public testing::ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    ignisKeyHeld = glaciesKeyHeld = false;
    footstepHighPitch = true;
    installShippedLevel("otestinggrounds.txt");
    installShippedLevel("iaxismundi.txt");
  }
  static bool has(const Game& game, char glyph, int column, int row) {
    return std::any_of(game.mapObjects.begin(), game.mapObjects.end(), [&](const MapObject& o) {
      return o.glyph == glyph && static_cast<int>(o.x) == column && static_cast<int>(o.y) == row;
    });
  }
};

TEST_F(PlaythroughTest, BothLevelsArePlayableFromTheTitleAndBack) {
  Game game;
  Autopilot pilot(game);
  const auto none = []() -> const Cell* { return nullptr; };

  ASSERT_TRUE(pilot.frameWith({vk::kEnter}));
  ASSERT_FALSE(game.inFrontEnd) << "start the game from the title";

  const Cell* scroll = pilot.nearestObject('S');
  ASSERT_NE(scroll, nullptr) << "learn IGNIS: the first level has no IGNIS scroll";
  const Cell scrollCell = *scroll;
  ASSERT_TRUE(pilot.run("learn IGNIS", [&] { return game.ignisLearned; }, [&] { return &scrollCell; }, 1500))
      << pilot.failure();

  ASSERT_TRUE(pilot.run("wait for mana", [&] { return game.mp >= 35; }, none, 400)) << pilot.failure();

  ASSERT_TRUE(pilot.run("kill an enemy with bolts", [&] { return pilot.boltKills() > 0; },
                        [&] { return pilot.nearestEnemy(); }, 6000))
      << pilot.failure();

  const std::size_t taken = game.consumedPickups.size();
  const Cell* health = pilot.nearestObject('h');
  ASSERT_NE(health, nullptr) << "take a health pickup: none left on the first level";
  const Cell healthCell = *health;
  ASSERT_TRUE(pilot.run("take a health pickup", [&] { return !has(game, 'h', healthCell.column, healthCell.row); },
                        [&] { return &healthCell; }, 6000))
      << pilot.failure();
  ASSERT_GT(game.consumedPickups.size(), taken) << "the health pickup was broken, not taken";

  ASSERT_TRUE(pilot.run("walk through the forward portal", [&] { return game.levelIndex == 1; },
                        [&] { return pilot.nearestObject('O'); }, 8000))
      << pilot.failure();
  EXPECT_EQ(game.levelFile, "iaxismundi.txt");

  ASSERT_TRUE(pilot.run("come back through the back portal", [&] { return game.levelIndex == 0; },
                        [&] { return pilot.nearestObject('A'); }, 8000))
      << pilot.failure();
  EXPECT_FALSE(has(game, 'S', scrollCell.column, scrollCell.row)) << "the taken scroll came back";
  EXPECT_FALSE(has(game, 'h', healthCell.column, healthCell.row)) << "the taken health pickup came back";
  EXPECT_TRUE(game.alive);
  std::printf("played %d frames, %d bolt kills, health %d\n", pilot.frames(), pilot.boltKills(), game.hp);
}

}  // namespace
}  // namespace veldra
