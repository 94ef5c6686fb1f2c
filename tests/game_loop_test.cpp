// The frame loop: its order of steps and its two endings, driven by scripted keys.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/audio_engine.h"
#include "core/game.h"
#include "program/game_loop.h"
#include "core/messages.h"
#include "test_support.h"

namespace veldra {
namespace {

namespace headless = platform::headless;
using testing::levelText;

constexpr const char* kClosingLine = "\nGame loop closed gracefully.\n";
constexpr const char* kDeathLine = "\nYou have died! Thank you for playing!\n";

class GameLoopTest : public testing::ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    // The player starts at (1.5, 1.5); an enemy waits two cells east.
    writeFile("otestinggrounds.txt", levelText("Loop", {"#####", "#P.E#", "#####"}));
  }

  // Presses `key` during the given frames only.
  static void script(std::initializer_list<std::pair<int, int>> presses) {
    std::vector<std::pair<int, int>> list(presses);
    headless::setInputScript([list](int frame) {
      for (const auto& [key, pressFrame] : list) headless::setKeyDown(key, frame == pressFrame);
    });
  }

  std::string printedAfterStart() {
    const std::string& out = headless::standardOutput();
    return out.substr(out.find("Map: loaded") + 11);
  }
};

TEST_F(GameLoopTest, QuitFromTheTitleDrawsItOnceMoreThenShutsDown) {
  script({{vk::kEscape, 0}});
  Game game;
  runGameLoop(game);
  EXPECT_FALSE(game.running);
  EXPECT_EQ(headless::frameWrites(), 1);
  EXPECT_EQ(printedAfterStart(), kClosingLine);
  EXPECT_EQ(headless::millisecondsSlept(), 16u + 5000u);
  EXPECT_FALSE(game.sound.engineOpen);
  EXPECT_FALSE(AudioEngine::instance().running);
}

TEST_F(GameLoopTest, QuitInPlayFinishesTheFrameFirst) {
  script({{vk::kEnter, 0}, {vk::kX, 2}});
  Game game;
  postMessage(game, "hello", 15);
  runGameLoop(game);
  // Frames 0 and 1 and the quitting frame 2 each aged the message and drew the view.
  ASSERT_EQ(game.messages.size(), 1u);
  EXPECT_EQ(game.messages[0].framesLeft, 120 - 3);
  EXPECT_EQ(headless::frameWrites(), 3);
  EXPECT_FALSE(game.inFrontEnd);
  EXPECT_EQ(printedAfterStart(), kClosingLine);
  // The title's 200 ms pause, three frames and the closing pause.
  EXPECT_EQ(headless::millisecondsSlept(), 200u + 3u * 16u + 5000u);
}

TEST_F(GameLoopTest, DeathEndsTheLoopAfterTheFrameIsShown) {
  script({{vk::kEnter, 0}});
  Game game;
  game.hp = 10;
  game.enemies[0].x = 2.0;  // within touching distance
  runGameLoop(game);
  EXPECT_FALSE(game.alive);
  EXPECT_EQ(game.hp, 0) << "health never shows below zero";
  EXPECT_EQ(headless::frameWrites(), 1) << "the fatal frame is presented";
  EXPECT_EQ(printedAfterStart(), kDeathLine) << "no closing line after a death";
  EXPECT_EQ(headless::millisecondsSlept(), 200u + 5000u) << "no frame sleep after the death";
  EXPECT_TRUE(game.sound.engineOpen) << "the sound plays on; the destructor closes it";
}

TEST_F(GameLoopTest, WhilePausedTheWorldStandsStillButIsStillShown) {
  Game game;
  game.inFrontEnd = false;
  postMessage(game, "wait", 15);
  const double enemyX = game.enemies[0].x;
  headless::setKeyDown(vk::kP, true);
  for (int frame = 0; frame < 5; ++frame) ASSERT_TRUE(runFrame(game));
  EXPECT_TRUE(game.paused) << "a held P toggles once";
  EXPECT_EQ(game.enemies[0].x, enemyX);
  EXPECT_EQ(game.messages[0].framesLeft, 120);
  EXPECT_EQ(headless::frameWrites(), 5);

  headless::setKeyDown(vk::kP, false);
  headless::setKeyDown(vk::kEscape, true);
  ASSERT_TRUE(runFrame(game));
  EXPECT_TRUE(game.running) << "Esc is not watched while paused";

  headless::setKeyDown(vk::kEscape, false);
  headless::setKeyDown(vk::kP, true);
  ASSERT_TRUE(runFrame(game));
  EXPECT_FALSE(game.paused);
  EXPECT_LT(game.enemies[0].x, enemyX) << "the enemy walks toward the player again";
  EXPECT_EQ(game.messages[0].framesLeft, 119);
}

TEST_F(GameLoopTest, ASoundDeviceThatVanishesMidGameLeavesItPlayingSilently) {
  // The enemy two cells east comes and hurts the player, with its sounds, before and after.
  script({{vk::kEnter, 0}});
  Game game;
  game.hp = 100;
  for (int frame = 0; frame < 10; ++frame) ASSERT_TRUE(runFrame(game));
  headless::vanishWaveDevice();
  ASSERT_TRUE(runFrame(game)) << "the frame after the loss plays as any other";
  // The worker notices on its own thread; up to 5 s of waiting tells a hang from a delay.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (AudioEngine::instance().running && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_FALSE(AudioEngine::instance().running) << "the worker gave up on the lost device";
  const int hpBefore = game.hp;
  for (int frame = 0; frame < 60; ++frame) ASSERT_TRUE(runFrame(game));
  EXPECT_LT(game.hp, hpBefore) << "the game went on: the enemy still hurts";
  EXPECT_TRUE(AudioEngine::instance().voicesSnapshot().empty()) << "and nothing is heard";
}

}  // namespace
}  // namespace veldra
