// Fires, the shared hurt cooldown, mana regeneration, the GLACIES shield's run and the
// outdoor chirps.

#include <gtest/gtest.h>

#include "play_support.h"
#include "world/hazards.h"
#include "world/status_effects.h"

namespace veldra {
namespace {

const std::string kBurning = "WARNING: Player is burning due to fire hazards!";

// The player stands at (2.5, 2.5); mana is full, so nothing regenerates unless a test says so.
class HazardsTest : public testing::PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    start({"##########", "#........#", "#.P......#", "#........#", "##########"});
    game().mp = game().mpMax;
  }
  void fireAt(double x, double y) { game().mapObjects.push_back({x, y, 'F', 14}); }
  // Frames in which health fell, over `frames` world frames.
  std::vector<int> hurtFrames(int frames) {
    std::vector<int> hurt;
    for (int i = 0; i < frames; ++i) {
      const int before = game().hp;
      burnInFire(game());
      if (game().hp < before) hurt.push_back(i);
    }
    return hurt;
  }
};

TEST_F(HazardsTest, AFireBurnsEvery25FramesWithAWarning) {
  game().hp = 100;
  fireAt(3.44, 2.5);
  EXPECT_EQ(hurtFrames(60), (std::vector<int>{0, 25, 50}));
  EXPECT_EQ(game().hp, 25);
  EXPECT_EQ(messageTexts(), (std::vector<std::string>{kBurning, kBurning, kBurning}));
  EXPECT_EQ(game().messages[0].colour, 12);
  EXPECT_EQ(takeCount(sounds::kHurt), 3);
  EXPECT_EQ(game().particles.size(), 45u);

  game().mapObjects[0].x = 3.45;  // 0.95 away: out of reach
  game().burnCooldown = 0;
  EXPECT_TRUE(hurtFrames(30).empty());
}

TEST_F(HazardsTest, TwoFiresInReachBurnNoFaster) {
  game().hp = 100;
  fireAt(3.0, 2.5);
  fireAt(2.0, 2.5);
  EXPECT_EQ(hurtFrames(26), (std::vector<int>{0, 25}));
  EXPECT_EQ(game().hp, 50);
}

TEST_F(HazardsTest, FiresAndEnemiesShareOneCooldown) {
  game().hp = 100;
  // An enemy touch first: the fire waits out the cooldown.
  game().enemies = {{2.5, 2.0, 200, 12, true}};
  frame();
  EXPECT_EQ(game().hp, 85);
  fireAt(3.0, 2.5);
  int frames = 0;
  while (game().hp == 85 && frames < 100) {
    frame();
    ++frames;
  }
  EXPECT_EQ(frames, 25) << "a touch in frame N blocks the fire until frame N + 25";
  EXPECT_EQ(game().hp, 60) << "the fire got there first; the enemy waits its turn";
  EXPECT_EQ(game().messages.back().text, kBurning);
}

TEST_F(HazardsTest, TheFatalBurnStillWarnsAndHealthStopsAtZero) {
  game().hp = 20;
  fireAt(3.0, 2.5);
  burnInFire(game());
  EXPECT_EQ(game().hp, 0);
  EXPECT_FALSE(game().alive);
  EXPECT_EQ(messageTexts(), std::vector<std::string>{kBurning});
}

TEST_F(HazardsTest, TheShieldTakesTheBlowWithSparks) {
  game().hp = 50;
  game().glaciesActive = true;
  game().glaciesTimer = 500;
  fireAt(3.0, 2.5);
  burnInFire(game());
  EXPECT_EQ(game().hp, 50);
  EXPECT_EQ(game().burnCooldown, 25);
  EXPECT_TRUE(game().messages.empty());
  EXPECT_EQ(game().particles.size(), 8u);
  EXPECT_EQ(game().particles[0].colour, 11);
  const auto played = takeSounds();
  EXPECT_EQ(count(played, sounds::kShieldBlocks), 1);
  EXPECT_EQ(count(played, sounds::kHurt), 0);

  // An enemy touch too: the cooldown starts, the shield sounds, no health is lost.
  game().mapObjects.clear();
  game().burnCooldown = 0;
  game().enemies = {{2.5, 2.0, 200, 12, true}};
  frame();
  EXPECT_EQ(game().hp, 50);
  EXPECT_EQ(game().burnCooldown, 25);
  EXPECT_EQ(takeCount(sounds::kShieldBlocks), 1);
}

TEST_F(HazardsTest, ManaRegeneratesEvery3FramesOrEvery20UnderTheInfusion) {
  game().mp = 10;
  for (int i = 0; i < 9; ++i) regenerateMana(game());
  EXPECT_EQ(game().mp, 13);
  game().mpMax = 500;
  game().mp = 450;
  game().manaRegenCounter = 0;
  for (int i = 0; i < 40; ++i) regenerateMana(game());
  EXPECT_EQ(game().mp, 452);
  // At the cap: no ticks, and the counter rests at 0.
  game().mpMax = 50;
  game().mp = 50;
  game().manaRegenCounter = 2;
  regenerateMana(game());
  EXPECT_EQ(game().mp, 50);
  EXPECT_EQ(game().manaRegenCounter, 0);
}

TEST_F(HazardsTest, AnUpgradedShieldHealsOnManaTicksUpTo100) {
  game().glaciesUpgraded = game().glaciesActive = true;
  game().glaciesTimer = 900;
  game().mp = 0;
  game().hp = 98;
  for (int i = 0; i < 30; ++i) regenerateMana(game());
  EXPECT_EQ(game().hp, 100);
  EXPECT_EQ(game().mp, 10);
  game().glaciesUpgraded = false;
  game().hp = 50;
  for (int i = 0; i < 3; ++i) regenerateMana(game());
  EXPECT_EQ(game().hp, 50) << "the basic shield does not heal";
  game().glaciesUpgraded = true;
  game().mp = game().mpMax;
  for (int i = 0; i < 3; ++i) regenerateMana(game());
  EXPECT_EQ(game().hp, 50) << "full mana: no ticks, no healing";
}

TEST_F(HazardsTest, TheShieldEndsWithAMessageAToneAndACappedBurst) {
  game().glaciesActive = true;
  game().glaciesTimer = 2;
  tickGlacies(game());
  EXPECT_TRUE(game().glaciesActive);
  EXPECT_EQ(game().particles.size(), 3u) << "the aura";
  tickGlacies(game());
  EXPECT_FALSE(game().glaciesActive);
  EXPECT_EQ(messageTexts(), std::vector<std::string>{"GLACIES INACTIVE!"});
  EXPECT_EQ(game().messages[0].colour, 9);
  EXPECT_EQ(game().particles.size(), 3u + 3u + 20u);
  EXPECT_EQ(game().particles.back().colour, 3);
  EXPECT_EQ(takeCount(sounds::kGlaciesExpires), 1);
  tickGlacies(game());
  EXPECT_EQ(game().particles.size(), 26u) << "nothing once it is off";

  // The burst looks at the count after the aura: 99 + 3 is past its cap of 100, 96 + 3 is
  // not. The aura's own cap is 120.
  game().glaciesActive = true;
  game().glaciesTimer = 1;
  game().particles.assign(99, Particle{0, 0, 0, 0, 10, 9});
  tickGlacies(game());
  EXPECT_EQ(game().particles.size(), 99u + 3u) << "the aura made it 102: no burst";
  game().glaciesActive = true;
  game().glaciesTimer = 1;
  game().particles.assign(96, Particle{0, 0, 0, 0, 10, 9});
  tickGlacies(game());
  EXPECT_EQ(game().particles.size(), 96u + 3u + 20u);
  game().glaciesActive = true;
  game().glaciesTimer = 5;
  game().particles.assign(120, Particle{0, 0, 0, 0, 10, 9});
  tickGlacies(game());
  EXPECT_EQ(game().particles.size(), 120u) << "no aura at the cap";
  EXPECT_EQ(takeCount(sounds::kGlaciesExpires), 2);
}

TEST_F(HazardsTest, FireFlickerIsCappedAndNeverDrawnRed) {
  for (int i = 0; i < 40; ++i) fireAt(5.5, 3.5);
  game().particles.assign(119, Particle{0, 0, 0, 0, 50, 9});
  emitFireFlicker(game());
  EXPECT_GT(game().particles.size(), 120u) << "the cap is tested once, before the scan";
  const std::size_t after = game().particles.size();
  emitFireFlicker(game());
  EXPECT_EQ(game().particles.size(), after);

  game().particles.clear();
  game().mapObjects.resize(1);
  for (int i = 0; i < 40; ++i) frame();
  for (const Particle& p : game().particles) EXPECT_NE(p.colour, 12);
}

TEST_F(HazardsTest, ChirpsOnlyOnLevelsWhoseFileStartsWithO) {
  const auto chirps = [&](char theme) {
    game().themeLetter = theme;
    takeSounds();
    int n = 0;
    for (int i = 0; i < 400; ++i) {
      playAmbientSound(game());
      for (const SoundRequest& s : takeSounds()) {
        EXPECT_GE(s.startHz, 1200);
        EXPECT_LE(s.startHz, 1799);
        EXPECT_DOUBLE_EQ(s.endHz, 0.1 * s.startHz);
        ++n;
      }
    }
    return n;
  };
  const int outdoor = chirps('o');
  EXPECT_GT(outdoor, 30);
  EXPECT_LT(outdoor, 90);
  EXPECT_GT(chirps('O'), 30);
  EXPECT_EQ(chirps('i'), 0);
}

}  // namespace
}  // namespace veldra
