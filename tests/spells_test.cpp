// Casting: costs, fizzles, new presses, and what each spell creates.

#include <gtest/gtest.h>

#include <cmath>

#include "play_support.h"
#include "replay_rand.h"
#include "core/presets.h"

namespace veldra {
namespace {

constexpr double kAngle = 0.3;

class SpellsTest : public testing::PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    start({"##########", "#P.......#", "#........#", "##########"});
    game().playerAngle = kAngle;
  }
};

TEST_F(SpellsTest, IgnisTakes35ManaAndLaunchesASlowBolt) {
  game().ignisLearned = true;
  game().mp = 40;
  press({vk::kSpace});
  EXPECT_EQ(game().mp, 5);
  ASSERT_EQ(game().projectiles.size(), 1u);
  const Projectile& bolt = game().projectiles[0];
  EXPECT_EQ(bolt.x, 1.5);
  EXPECT_EQ(bolt.y, 1.5);
  EXPECT_DOUBLE_EQ(bolt.dx, 0.25 * std::cos(kAngle));
  EXPECT_DOUBLE_EQ(bolt.dy, 0.25 * std::sin(kAngle));
  EXPECT_EQ(takeCount(sounds::kIgnisCast), 1);

  press({});
  press({vk::kSpace});
  EXPECT_EQ(game().mp, 5) << "too little mana: nothing taken";
  EXPECT_EQ(game().projectiles.size(), 1u);
  EXPECT_EQ(takeCount(sounds::kFizzle), 1);
}

TEST_F(SpellsTest, AnUnlearnedSpellFizzlesWhateverTheMana) {
  game().mp = 500;
  press({vk::kSpace, vk::kE, vk::kLeftAlt, vk::kLeftShift});
  EXPECT_EQ(game().mp, 500);
  EXPECT_TRUE(game().projectiles.empty());
  EXPECT_TRUE(game().particles.empty());
  EXPECT_FALSE(game().glaciesActive);
  EXPECT_EQ(takeCount(sounds::kFizzle), 4);
}

TEST_F(SpellsTest, AHeldKeyCastsOnceAndEachCastNeedsANewPress) {
  game().ignisLearned = game().electricaLearned = true;
  game().mp = 500;
  for (int i = 0; i < 5; ++i) press({vk::kSpace, vk::kRightAlt});
  EXPECT_EQ(game().projectiles.size(), 2u) << "one IGNIS and one ELECTRICA (Right Alt stands in for Left Alt)";
  press({});
  press({vk::kSpace});
  EXPECT_EQ(game().projectiles.size(), 3u);
  EXPECT_EQ(game().mp, 500 - 35 - 10 - 35);
}

TEST_F(SpellsTest, IgnisAndElectricaInOneFrameSpendItAll) {
  game().ignisLearned = game().electricaLearned = true;
  game().mp = 45;
  press({vk::kSpace, vk::kLeftAlt});
  EXPECT_EQ(game().mp, 0);
  ASSERT_EQ(game().projectiles.size(), 2u);
  EXPECT_DOUBLE_EQ(game().projectiles[1].dx, 0.55 * std::cos(kAngle)) << "ELECTRICA comes second";
  const auto played = takeSounds();
  EXPECT_EQ(count(played, sounds::kIgnisCast), 1);
  EXPECT_EQ(count(played, sounds::kElectricaCast), 1);
  EXPECT_EQ(count(played, sounds::kFizzle), 0);
}

TEST_F(SpellsTest, ThePresetBKeysCastAndTheLeftAltAliasIsGone) {
  applyPresetB(game());
  game().electricaLearned = game().herbaLearned = true;
  game().mp = 100;
  press({vk::kLeftAlt, vk::kRightAlt});
  EXPECT_TRUE(game().projectiles.empty()) << "under preset B neither Alt casts ELECTRICA";
  EXPECT_TRUE(game().glaciesActive == false);
  press({vk::kRightControl, vk::kSlash});
  EXPECT_EQ(game().projectiles.size(), 1u);
  EXPECT_EQ(game().particles.size(), 35u);
}

TEST_F(SpellsTest, BasicGlaciesAsksFor25TakesFiftyAndMayLeaveManaBelowZero) {
  game().glaciesLearned = true;
  game().mp = 24;
  press({vk::kE});
  EXPECT_FALSE(game().glaciesActive);
  EXPECT_EQ(takeCount(sounds::kFizzle), 1);

  game().mp = 30;
  press({});
  press({vk::kE});
  EXPECT_TRUE(game().glaciesActive);
  EXPECT_EQ(game().glaciesTimer, 700);
  EXPECT_EQ(game().mp, -20);
  EXPECT_EQ(messageTexts(), std::vector<std::string>{"GLACIES ACTIVATED!"});
  EXPECT_EQ(game().messages.back().colour, 9);
  EXPECT_EQ(takeCount(sounds::kGlaciesActivated), 1);

  // A press while it runs neither restarts nor extends it.
  game().mp = 200;
  game().glaciesTimer = 10;
  press({});
  press({vk::kE});
  EXPECT_EQ(game().glaciesTimer, 10);
  EXPECT_EQ(game().mp, 200);
  EXPECT_EQ(takeCount(sounds::kFizzle), 1);

  // Regeneration starts again from below zero.
  game().mp = -20;
  game().glaciesActive = false;
  for (int i = 0; i < 3; ++i) frame();
  EXPECT_EQ(game().mp, -19);
}

TEST_F(SpellsTest, UpgradedGlaciesNeedsAndTakes75ForAThousandFrames) {
  game().glaciesLearned = game().glaciesUpgraded = true;
  game().mp = 60;
  press({vk::kE});
  EXPECT_FALSE(game().glaciesActive) << "60 would do for the basic shield, not for the boost";
  EXPECT_EQ(game().mp, 60);
  EXPECT_EQ(takeCount(sounds::kFizzle), 1);

  game().mp = 75;
  press({});
  press({vk::kE});
  EXPECT_TRUE(game().glaciesActive);
  EXPECT_EQ(game().glaciesTimer, 1000);
  EXPECT_EQ(game().mp, 0);
  EXPECT_EQ(messageTexts(), std::vector<std::string>{"GLACIES BOOST ACTIVATED!"});
  EXPECT_EQ(takeCount(sounds::kGlaciesBoost), 1);
}

TEST_F(SpellsTest, HerbaHealsByItsTwoThresholds) {
  struct Case {
    bool upgraded;
    int hpBefore;
    int hpAfter;
  };
  const Case cases[] = {{false, 50, 50}, {false, 49, 50}, {false, 1, 2},    {true, 96, 96},
                        {true, 95, 100}, {true, 44, 50},  {true, 100, 100}, {true, 45, 50}};
  game().herbaLearned = true;
  for (const Case& c : cases) {
    game().herbaUpgraded = c.upgraded;
    game().hp = c.hpBefore;
    game().mp = 7;
    press({});
    press({vk::kLeftShift});
    EXPECT_EQ(game().hp, c.hpAfter) << "upgraded " << c.upgraded << ", from " << c.hpBefore;
    EXPECT_EQ(game().mp, 2);
  }
  EXPECT_EQ(takeCount(sounds::kHerbaCast), 8);
  game().hp = 10;
  press({});
  press({vk::kLeftShift});
  EXPECT_EQ(game().hp, 10) << "2 mana is too little";
  EXPECT_EQ(takeCount(sounds::kFizzle), 1);
}

TEST_F(SpellsTest, HerbaSprays35ParticlesFromKnownDraws) {
  game().herbaLearned = true;
  game().mp = 5;
  testing::ReplayRand rand(4242);
  press({vk::kLeftShift});
  ASSERT_EQ(game().particles.size(), 35u);
  const double x = 1.5 + 0.2 * std::cos(kAngle);
  const double y = 1.5 + 0.2 * std::sin(kAngle);
  for (std::size_t i = 0; i < 35; ++i) {
    const double direction = kAngle + rand.spread(0.25);
    const double speed = 0.45 + 0.2 * rand.fraction();
    const int life = 5 + rand.below(5);
    const Particle& p = game().particles[i];
    SCOPED_TRACE(i);
    EXPECT_DOUBLE_EQ(p.x, x);
    EXPECT_DOUBLE_EQ(p.y, y);
    EXPECT_DOUBLE_EQ(p.dx, std::cos(direction) * speed);
    EXPECT_DOUBLE_EQ(p.dy, std::sin(direction) * speed);
    EXPECT_EQ(p.life, life);
    EXPECT_EQ(p.colour, i == 0 ? 2 : 10) << "only the first particle wounds";
  }
}

}  // namespace
}  // namespace veldra
