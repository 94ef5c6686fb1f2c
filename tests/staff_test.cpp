// The staff: what one strike hits, its particles and sounds, and its swing.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "play_support.h"
#include "replay_rand.h"

namespace veldra {
namespace {

// The player stands at (2.5, 2.5) facing east: the strike point is (3.7, 2.5).
class StaffTest : public testing::PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    start({"##########", "#........#", "#.P......#", "#........#", "##########"});
  }
  void strike(int key = vk::kLeftControl) {
    press({});
    press({key});
  }
  static Enemy enemyAt(double x, double y, int hp = 200) { return Enemy{x, y, hp, 12, true}; }
};

TEST_F(StaffTest, TheLatestEnemyNearTheStrikePointTakes35) {
  game().enemies = {enemyAt(3.7, 2.0), enemyAt(4.2, 2.5), enemyAt(3.2, 2.5), enemyAt(4.31, 2.5)};
  strike();
  EXPECT_EQ(game().enemies[0].hp, 200);
  EXPECT_EQ(game().enemies[1].hp, 200) << "an earlier enemy in reach is spared";
  EXPECT_EQ(game().enemies[2].hp, 165);
  EXPECT_EQ(game().enemies[3].hp, 200) << "0.61 away is out of reach";
  EXPECT_EQ(game().attackFrame, 1);
  const auto played = takeSounds();
  EXPECT_EQ(count(played, sounds::kStaffHitsEnemy), 1);
  EXPECT_EQ(count(played, sounds::kStaffStrikes), 1);
  EXPECT_EQ(count(played, sounds::kEnemyDies), 0);
  EXPECT_EQ(game().particles.size(), 15u + 40u);
}

TEST_F(StaffTest, AWeakEnemyDiesAtOnceAndAFreshOneTakesSixStrikes) {
  game().enemies = {enemyAt(3.7, 2.5, 35)};
  strike();
  EXPECT_TRUE(game().enemies.empty()) << "removed in the same frame";
  EXPECT_EQ(takeCount(sounds::kEnemyDies), 1);

  game().enemies = {enemyAt(3.7, 2.5)};
  game().attackFrame = 0;
  int strikes = 0;
  while (!game().enemies.empty() && strikes < 10) {
    strike(strikes % 2 == 0 ? vk::kLeftControl : vk::kLeftButton);  // the mouse's left button swings too
    ++strikes;
    game().attackFrame = 0;  // skip the swing
  }
  EXPECT_EQ(strikes, 6);
}

TEST_F(StaffTest, WallsCountOnlyInTheStrikePointsOwnCell) {
  // An enemy behind a wall, within reach of the strike point: hit through the wall.
  game().mapGrid[2 * 64 + 3] = '#';
  game().enemies = {enemyAt(3.7, 2.5)};
  strike();
  EXPECT_EQ(game().enemies[0].hp, 165);

  // The strike point inside a wall: the enemy there still wins over the wall.
  game().enemies = {enemyAt(3.9, 2.5)};
  game().attackFrame = 0;
  strike();
  EXPECT_EQ(game().enemies[0].hp, 165);

  // A wall alone: an impact 0.2 in front of it, and objects beyond it are safe.
  game().enemies.clear();
  game().mapObjects = {{3.7, 2.5, 'o', 6}};
  game().particles.clear();
  game().attackFrame = 0;
  takeSounds();
  strike();
  EXPECT_EQ(game().mapObjects.size(), 1u);
  EXPECT_EQ(takeCount(sounds::kStaffStrikes), 1);
  ASSERT_EQ(game().particles.size(), 40u);
  EXPECT_EQ(game().particles[0].x, 2.5 + 1.2 - 0.2);
}

TEST_F(StaffTest, OutsideTheGridIsNoWall) {
  game().playerX = 0.5;
  game().playerAngle = std::numbers::pi;
  game().mapGrid[2 * 64 + 0] = '.';
  strike();
  EXPECT_EQ(takeCount(sounds::kStaffMisses), 1);
  EXPECT_TRUE(game().particles.empty()) << "a miss makes no particles";
}

TEST_F(StaffTest, ItBreaksTheLatestBreakableObjectButNotScrollsOrPortals) {
  game().mapObjects = {{3.7, 2.3, 'h', 15}, {3.6, 2.5, 'o', 6}};
  strike();
  ASSERT_EQ(game().mapObjects.size(), 1u);
  EXPECT_EQ(game().mapObjects[0].glyph, 'h');
  EXPECT_EQ(game().particles.size(), 20u + 40u);
  EXPECT_EQ(game().particles[0].colour, 6) << "debris in the object's colour";
  EXPECT_EQ(game().particles[20].x, 3.6 - 0.3) << "the impact 0.3 in front of it";

  // A health pickup is destroyed, with none of its effect.
  game().hp = 50;
  game().attackFrame = 0;
  strike();
  EXPECT_TRUE(game().mapObjects.empty());
  EXPECT_EQ(game().hp, 50);
  EXPECT_TRUE(game().consumedPickups.empty());

  for (char glyph : {'S', 'k', 'L', 'B', 'O', 'A', 'T', 'F'}) {
    game().mapObjects = {{3.7, 2.5, glyph, 11}};
    game().particles.clear();
    game().attackFrame = 0;
    takeSounds();
    strike();
    EXPECT_EQ(game().mapObjects.size(), 1u) << glyph;
    EXPECT_EQ(game().particles.size(), 40u) << glyph << ": only the impact";
    EXPECT_EQ(takeCount(sounds::kStaffStrikes), 1) << glyph;
  }
}

TEST_F(StaffTest, ParticlesComeFromKnownDraws) {
  game().playerAngle = 0.25;
  const double ux = std::cos(0.25);
  const double uy = std::sin(0.25);
  const double ex = 2.5 + 1.2 * ux;
  const double ey = 2.5 + 1.2 * uy;
  game().enemies = {enemyAt(ex, ey)};
  testing::ReplayRand rand(77);
  strike();
  ASSERT_EQ(game().particles.size(), 55u);
  const double back = 0.25 + std::numbers::pi;
  for (std::size_t i = 0; i < 55; ++i) {
    const bool wound = i < 15;
    const double direction = back + rand.spread(1.2);
    const double speed = wound ? 0.04 + 0.1 * rand.fraction() : 0.05 + 0.12 * rand.fraction();
    const int life = wound ? 10 + rand.below(6) : 10 + rand.below(8);
    const Particle& p = game().particles[i];
    SCOPED_TRACE(i);
    EXPECT_DOUBLE_EQ(p.x, wound ? ex : ex - 0.3 * ux);
    EXPECT_DOUBLE_EQ(p.y, wound ? ey : ey - 0.3 * uy);
    EXPECT_DOUBLE_EQ(p.dx, std::cos(direction) * speed);
    EXPECT_DOUBLE_EQ(p.dy, std::sin(direction) * speed);
    EXPECT_EQ(p.life, life);
    EXPECT_EQ(p.colour, wound ? 12 : 9);
  }
}

TEST_F(StaffTest, TheSwingRuns234ThenAllowsTheNextPress) {
  std::vector<int> drawn;
  frame({vk::kRightControl});  // Right Ctrl stands in for Left Ctrl
  drawn.push_back(game().attackFrame);
  frame({vk::kRightControl});
  drawn.push_back(game().attackFrame);
  frame({});
  drawn.push_back(game().attackFrame);
  frame({vk::kLeftControl});  // a press during the swing is used up
  drawn.push_back(game().attackFrame);
  frame({vk::kLeftControl});
  drawn.push_back(game().attackFrame);
  EXPECT_EQ(drawn, (std::vector<int>{2, 3, 4, 0, 0}));
  frame({});
  frame({vk::kLeftControl});
  EXPECT_EQ(game().attackFrame, 2);
  EXPECT_EQ(takeCount(sounds::kStaffMisses), 2);
}

}  // namespace
}  // namespace veldra
