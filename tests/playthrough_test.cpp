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

class PlaythroughTest : public testing::ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    installShippedLevel("otestinggrounds.txt");
    installShippedLevel("iaxismundi.txt");
  }
};

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
