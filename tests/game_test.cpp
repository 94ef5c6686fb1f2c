// Start-up: the Game's defaults, its start-up lines and the fatal path.

#include <gtest/gtest.h>

#include "audio/audio_engine.h"
#include "core/game.h"
#include "test_support.h"

namespace veldra {
namespace {

namespace headless = platform::headless;
using testing::levelText;

class GameStartTest : public testing::ScratchDirectoryTest {};

TEST_F(GameStartTest, DefaultsBeforeAnyFrame) {
  writeFile("otestinggrounds.txt", levelText("No Start", {"#...."}));
  Game game;
  EXPECT_EQ(game.playerX, 4.0) << "a level without a start leaves the default position";
  EXPECT_EQ(game.playerY, 4.0);
  EXPECT_EQ(game.playerAngle, 0.0);
  EXPECT_EQ(game.hp, 20);
  EXPECT_EQ(game.hpMax, 100);
  EXPECT_EQ(game.mp, 0);
  EXPECT_EQ(game.mpMax, 50);
  EXPECT_EQ(game.ignisDamage, 100);
  EXPECT_EQ(game.electricaDamage, 50);
  EXPECT_EQ(game.herbaDamage, 5);
  EXPECT_TRUE(game.running);
  EXPECT_TRUE(game.inFrontEnd);
  EXPECT_TRUE(game.alive);
  for (bool latch : {game.pauseKeyHeld, game.configKeyHeld, game.menuUpHeld, game.menuDownHeld,
                     game.attackKeyHeld, game.electricaKeyHeld, game.herbaKeyHeld, game.paused,
                     game.manaInfusion, game.glaciesActive}) {
    EXPECT_FALSE(latch);
  }
  const int bindings[] = {game.keyForward, game.keyBackward, game.keyTurnLeft, game.keyTurnRight, game.keyAttack,
                          game.keyIgnis,   game.keyGlacies,  game.keyElectrica, game.keyHerba};
  const int presetA[] = {38, 40, 37, 39, 162, 32, 69, 164, 160};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(bindings[i], presetA[i]) << i;
  EXPECT_EQ(game.levelFiles[0], "otestinggrounds.txt");
  EXPECT_EQ(game.levelFiles[1], "iaxismundi.txt");
  for (int i = 2; i < 10; ++i) EXPECT_EQ(game.levelFiles[i], "otestinggrounds.txt");
  EXPECT_EQ(game.levelFile, "otestinggrounds.txt");
  EXPECT_EQ(game.themeLetter, 'o');
  EXPECT_EQ(game.levelName, "No Start");
  EXPECT_EQ(game.screen.fieldOfView, 0.7853981633974483);
  EXPECT_EQ(game.screen.maxDepth, 32.0);
  EXPECT_EQ(game.screen.cellCount, 0);
  EXPECT_TRUE(game.sound.engineOpen);
  EXPECT_EQ(headless::standardOutput(), "\n*******************************\nMap: loaded");
}

TEST_F(GameStartTest, CursorHiddenForTheGamesLifeAndSoundClosedAtTheEnd) {
  installShippedLevel("otestinggrounds.txt");
  headless::setWindowSize(80, 25);
  {
    Game game;
    EXPECT_FALSE(headless::cursorVisible());
    EXPECT_TRUE(headless::waveDeviceOpen());
    EXPECT_EQ(AudioEngine::instance().openCount, 1);
  }
  EXPECT_TRUE(headless::cursorVisible());
  EXPECT_FALSE(headless::waveDeviceOpen());
  EXPECT_EQ(AudioEngine::instance().openCount, 0);
}

TEST_F(GameStartTest, MissingFirstLevelIsFatal) {
  try {
    Game game;
    FAIL() << "the constructor returned";
  } catch (const headless::ProcessExit& exit) {
    EXPECT_EQ(exit.status, 1);
  }
  EXPECT_EQ(headless::standardOutput(),
            "\n********************************\n"
            " ERROR: Could not load 'Testing\n"
            " Please ensure the file exists\n"
            "\nPress any key to close veldra...");
  EXPECT_EQ(headless::waitForKeyCalls(), 1);
  EXPECT_EQ(headless::frameWrites(), 0) << "nothing is drawn";
  EXPECT_FALSE(AudioEngine::instance().running) << "the worker is stopped before the process ends";
  EXPECT_FALSE(headless::waveDeviceOpen());
}

TEST_F(GameStartTest, RunsSilentWithoutAnAudioDevice) {
  installShippedLevel("otestinggrounds.txt");
  headless::setAudioDeviceAvailable(false);
  Game game;
  EXPECT_TRUE(game.sound.engineOpen) << "requests are still accepted";
  playSound(game.sound, 400, 200, 0.1, 0.15);
  EXPECT_TRUE(AudioEngine::instance().voicesSnapshot().empty()) << "but nothing piles up unplayed";
}

}  // namespace
}  // namespace veldra
