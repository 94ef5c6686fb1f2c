// Bolts in flight, their bursts and hits, and the particles of the world update.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "play_support.h"
#include "replay_rand.h"
#include "world/particles.h"
#include "world/projectiles.h"

namespace veldra {
namespace {

// A 10 x 6 room; the player stands in its west end, out of everyone's way.
class BoltsTest : public testing::PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    start({"##########", "#P.......#", "#........#", "#........#", "#........#", "##########"});
  }
  static Enemy enemyAt(double x, double y, int hp = 200) { return Enemy{x, y, hp, 12, true}; }
  void flyOnly() { flyProjectiles(game()); }
};

TEST_F(BoltsTest, TheSpellOfABoltFollowsFromItsSpeed) {
  const auto classOf = [](double speed) { return boltClass(Projectile{0, 0, speed * 0.6, speed * 0.8}); };
  EXPECT_EQ(classOf(0.25), BoltClass::Ignis);
  EXPECT_EQ(classOf(0.22), BoltClass::Ignis);
  EXPECT_EQ(classOf(0.28), BoltClass::Ignis);
  EXPECT_EQ(classOf(0.55), BoltClass::Electrica);
  EXPECT_EQ(classOf(0.5), BoltClass::Electrica);
  EXPECT_EQ(classOf(0.57), BoltClass::Electrica);
  EXPECT_EQ(classOf(0.3), BoltClass::Herba);
  EXPECT_EQ(classOf(0.6), BoltClass::Herba);
  EXPECT_EQ(trailColour(Projectile{0, 0, 0.25, 0}), 12);
  EXPECT_EQ(trailColour(Projectile{0, 0, 0.55, 0}), 14);
  EXPECT_EQ(trailColour(Projectile{0, 0, 0.6, 0}), 10);
  EXPECT_EQ(trailColour(Projectile{0, 0, 0.4, 0}), 12);
  game().ignisUpgraded = true;
  EXPECT_EQ(boltDamage(game(), BoltClass::Ignis), 200);
  EXPECT_EQ(boltDamage(game(), BoltClass::Electrica), 50);
  EXPECT_EQ(boltDamage(game(), BoltClass::Herba), 5);
  EXPECT_EQ(boltHitSound(BoltClass::Herba), nullptr);
}

TEST_F(BoltsTest, APointBlankBoltBurstsAtTheWallFromKnownDraws) {
  game().projectiles = {{8.7, 2.5, 0.55, 0.0}};
  testing::ReplayRand rand(9);
  flyOnly();
  EXPECT_TRUE(game().projectiles.empty());
  EXPECT_EQ(takeCount(sounds::kBoltHitsWall), 1);
  ASSERT_EQ(game().particles.size(), 25u);
  for (const Particle& p : game().particles) {
    const double angle = 2.0 * std::numbers::pi * rand.fraction();
    const double speed = 0.04 + 0.08 * rand.fraction();
    const int life = 12 + rand.below(8);
    EXPECT_DOUBLE_EQ(p.x, 8.7 + 0.55 - 0.2 * 0.55) << "0.2 of a step in front of the wall";
    EXPECT_EQ(p.y, 2.5);
    EXPECT_DOUBLE_EQ(p.dx, std::cos(angle) * speed);
    EXPECT_DOUBLE_EQ(p.dy, std::sin(angle) * speed);
    EXPECT_EQ(p.life, life);
    EXPECT_EQ(p.colour, 11);
  }
}

TEST_F(BoltsTest, OffTheGridABoltBurstsAtTheFirstCellOutside) {
  game().mapGrid[1 * 64 + 0] = '.';  // an opening in the west wall
  game().projectiles = {{0.3, 1.5, -0.25, 0.0}};
  flyOnly();
  ASSERT_EQ(game().projectiles.size(), 1u) << "x 0.05";
  flyOnly();
  ASSERT_EQ(game().projectiles.size(), 1u) << "x -0.2 truncates to cell 0";
  flyOnly();
  ASSERT_EQ(game().projectiles.size(), 1u) << "x -0.45";
  flyOnly();
  ASSERT_EQ(game().projectiles.size(), 1u) << "x -0.7";
  flyOnly();
  ASSERT_EQ(game().projectiles.size(), 1u) << "x -0.95";
  flyOnly();
  EXPECT_TRUE(game().projectiles.empty()) << "x -1.2 is outside";
}

TEST_F(BoltsTest, ItShattersOnlyTheLatestBreakableObjectAndFliesThroughTheRest) {
  game().mapObjects = {{3.5, 2.5, 'S', 12}, {3.5, 2.7, 'M', 10}, {3.5, 2.4, 'w', 10}, {5.5, 2.5, 'O', 11}};
  game().projectiles = {{3.0, 2.5, 0.25, 0.0}, {4.75, 2.5, 0.55, 0.0}};
  testing::ReplayRand rand(5);
  flyOnly();
  // The later bolt (index 1) is visited first and flies through the portal's reach.
  ASSERT_EQ(game().projectiles.size(), 1u);
  EXPECT_EQ(game().projectiles[0].x, 5.3);
  ASSERT_EQ(game().mapObjects.size(), 3u);
  EXPECT_EQ(game().mapObjects[1].glyph, 'M') << "the later 'w' was shattered";
  const auto played = takeSounds();
  EXPECT_EQ(count(played, sounds::kObjectShatters), 1);
  EXPECT_EQ(count(played, sounds::kBoltHitsWall), 1);
  // Trail first (bolt 1: chance draw, then a spark or not), then the shatter and burst.
  std::size_t first = 0;
  if (rand.below(100) < 45) {
    rand.spread(0.04), rand.spread(0.04), rand.below(5);
    first = 1;
  }
  ASSERT_EQ(game().particles.size(), first + 30 + 25);
  for (std::size_t i = first; i < first + 30; ++i) {
    const double angle = 2.0 * std::numbers::pi * rand.fraction();
    const double speed = 0.03 + 0.1 * rand.fraction();
    const Particle& p = game().particles[i];
    EXPECT_EQ(p.x, 3.5);
    EXPECT_EQ(p.y, 2.4);
    EXPECT_DOUBLE_EQ(p.dx, std::cos(angle) * speed);
    EXPECT_EQ(p.life, 15 + rand.below(10));
    EXPECT_EQ(p.colour, 10);
  }
}

TEST_F(BoltsTest, TrailSparksTakeTheColourOfTheSpellAndThenFade) {
  game().projectiles = {{1.5, 2.5, 0.25, 0.0}, {1.5, 3.5, 0.55, 0.0}};
  int red = 0, yellow = 0;
  for (int i = 0; i < 10; ++i) {
    game().projectiles[0].x = game().projectiles[1].x = 1.5;
    flyOnly();
    for (const Particle& p : game().particles) {
      red += p.colour == 12 && p.y < 3.0;
      yellow += p.colour == 14 && p.y > 3.0;
    }
    EXPECT_TRUE(std::all_of(game().particles.begin(), game().particles.end(),
                            [](const Particle& p) { return p.colour == 12 || p.colour == 14; }));
    game().particles.clear();
  }
  EXPECT_GT(red, 0);
  EXPECT_GT(yellow, 0);

  // From the next particle step on a spark is light blue, and dark blue for its last three.
  game().particles = {{0, 0, 0, 0, 5, 12}};
  stepParticles(game());
  EXPECT_EQ(game().particles[0].colour, 9);
  stepParticles(game());
  EXPECT_EQ(game().particles[0].life, 3);
  EXPECT_EQ(game().particles[0].colour, 1);
  stepParticles(game());
  stepParticles(game());
  stepParticles(game());
  EXPECT_TRUE(game().particles.empty());
}

TEST_F(BoltsTest, ABoltKillIsRemovedOneFrameLaterWithTheDeathTone) {
  game().enemies = {enemyAt(6.5, 3.5, 100)};
  game().projectiles = {{6.0, 3.5, 0.25, 0.0}};
  frame();
  ASSERT_EQ(game().enemies.size(), 1u);
  EXPECT_FALSE(game().enemies[0].alive);
  EXPECT_TRUE(game().projectiles.empty());
  auto played = takeSounds();
  EXPECT_EQ(count(played, sounds::kIgnisHit), 1);
  EXPECT_EQ(count(played, sounds::kEnemyDies), 0);
  frame();
  EXPECT_TRUE(game().enemies.empty());
  EXPECT_EQ(takeCount(sounds::kEnemyDies), 1);
}

TEST_F(BoltsTest, TwoBoltsInOneFrameAreBothUsedUpOnTheSameEnemy) {
  game().electricaUpgraded = true;
  game().enemies = {enemyAt(6.5, 3.5, 100), enemyAt(6.6, 3.5, 100)};
  game().projectiles = {{6.0, 3.5, 0.55, 0.0}, {6.2, 3.5, 0.25, 0.0}};
  frame();
  EXPECT_TRUE(game().projectiles.empty());
  EXPECT_EQ(game().enemies[1].hp, 100 - 100 - 100) << "the highest index is visited first and takes both";
  EXPECT_EQ(game().enemies[0].hp, 100);
  const auto played = takeSounds();
  EXPECT_EQ(count(played, sounds::kElectricaHit), 1);
  EXPECT_EQ(count(played, sounds::kIgnisHit), 1);
}

TEST_F(BoltsTest, ABoltIntoAWallCannotHitTheEnemyBehindIt) {
  game().enemies = {enemyAt(8.9, 2.5)};
  game().projectiles = {{8.6, 2.5, 0.55, 0.0}};
  frame();
  EXPECT_EQ(game().enemies[0].hp, 200);
}

TEST_F(BoltsTest, HerbaSprayStrikesTheFirstLivingEnemy) {
  game().enemies = {enemyAt(5.0, 3.0, 5), enemyAt(5.0, 3.0, 200)};
  game().particles = {{4.5, 3.0, 0.0, 0.0, 10, 10}, {4.5, 3.0, 0.1, 0.0, 10, 2}, {1.5, 1.5, 0.0, 0.0, 10, 10}};
  stepParticles(game());
  // Index 2 reaches nobody and flies on; index 1 wounds enemy 0 to death, which is
  // removed at once; index 0 then vanishes on enemy 1 without harm.
  ASSERT_EQ(game().particles.size(), 1u);
  EXPECT_EQ(game().particles[0].x, 1.5);
  ASSERT_EQ(game().enemies.size(), 1u);
  EXPECT_EQ(game().enemies[0].hp, 200);
  const auto played = takeSounds();
  EXPECT_EQ(count(played, sounds::kHerbaWounds), 1);
  EXPECT_EQ(count(played, sounds::kEnemyDies), 1);

  game().herbaUpgraded = true;
  game().particles = {{4.5, 3.0, 0.0, 0.0, 10, 2}};
  game().enemies[0].alive = false;
  stepParticles(game());
  EXPECT_EQ(game().particles.size(), 1u) << "a dead enemy is no target";
  game().enemies[0].alive = true;
  stepParticles(game());
  EXPECT_EQ(game().enemies[0].hp, 190) << "upgraded HERBA wounds for 10";
}

TEST_F(BoltsTest, SprayParticlesKeepTheirColourAndPassThroughWalls) {
  game().particles = {{8.5, 2.5, 1.0, 0.0, 3, 10}};
  stepParticles(game());
  stepParticles(game());
  ASSERT_EQ(game().particles.size(), 1u);
  EXPECT_EQ(game().particles[0].colour, 10);
  EXPECT_EQ(game().particles[0].x, 10.5);
}

}  // namespace
}  // namespace veldra
