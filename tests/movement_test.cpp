// Turning, stepping, collision and footsteps.

#include <gtest/gtest.h>

#include <cmath>

#include "audio/audio_engine.h"
#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "player/level_switch.h"
#include "player/movement.h"
#include "player/update_player.h"
#include "platform/headless/headless.h"
#include "test_support.h"

namespace veldra {
namespace {

namespace headless = platform::headless;

class MovementTest : public testing::PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    start({"#####", "#P..#", "#...#", "#####"});
  }
  void frameWith(std::initializer_list<int> keys) { press(keys); }
};

TEST_F(MovementTest, TurningIsAFixedStepAndOppositeKeysCancel) {
  frameWith({vk::kLeft});
  EXPECT_DOUBLE_EQ(game().playerAngle, -0.05);
  frameWith({vk::kRight});
  frameWith({vk::kRight});
  EXPECT_NEAR(game().playerAngle, 0.05, 1e-15);
  frameWith({vk::kLeft, vk::kRight});
  EXPECT_NEAR(game().playerAngle, 0.05, 1e-15);
}

TEST_F(MovementTest, TheMouseTurnsInPlayOnlyAndItsRightButtonWalks) {
  game().inFrontEnd = true;
  headless::setMouseTurn(300000);
  headless::setPointerEdge(1);
  frameWith({});
  EXPECT_EQ(game().playerAngle, 0.0) << "the title ignores the mouse";
  game().inFrontEnd = false;
  frameWith({vk::kLeft});
  EXPECT_NEAR(game().playerAngle, 0.3, 1e-12) << "the motion, and the edge as a held turn key";
  headless::setMouseTurn(0);
  headless::setPointerEdge(0);
  const double x = game().playerX;
  frameWith({vk::kRightButton});
  EXPECT_GT(game().playerX, x);
}

TEST_F(MovementTest, TabWalksForwardWhereKeysAreNotExactUntilTabBackPauseOrExactKeys) {
  frameWith({vk::kTab});
  EXPECT_FALSE(game().autoWalk) << "with exact keys Tab is no key of the game";
  headless::setKeysExact(false);
  frameWith({vk::kTab});
  frameWith({vk::kTab, vk::kRight});  // still the same press; the walk turns as it goes
  EXPECT_TRUE(game().autoWalk);
  EXPECT_GT(game().playerX, 1.5 + 0.2);
  EXPECT_GT(game().playerAngle, 0.0);
  const auto stopsOn = [&](std::initializer_list<int> keys) {
    game().autoWalk = false;
    frameWith({});
    frameWith({vk::kTab});
    EXPECT_TRUE(game().autoWalk);
    frameWith({});
    game().playerX = 1.5;
    frameWith(keys);
    frameWith({});
    return !game().autoWalk;
  };
  EXPECT_TRUE(stopsOn({vk::kTab}));
  EXPECT_TRUE(stopsOn({vk::kDown}));
  EXPECT_LT(game().playerX, 1.5) << "the back key still steps back";
  EXPECT_TRUE(stopsOn({vk::kP}));
  frameWith({vk::kP});
  frameWith({});
  EXPECT_FALSE(game().paused);
  frameWith({vk::kTab});
  headless::setKeysExact(true);
  frameWith({});
  EXPECT_FALSE(game().autoWalk) << "exact keys end the walk";
  std::vector<std::string> said;
  for (const HudMessage& message : game().messages) said.push_back(message.text);
  ASSERT_FALSE(said.empty());
  EXPECT_EQ(said.back(), "Walking off");
  // A portal's level switch ends it too.
  writeFile("iaxismundi.txt", testing::levelText("Hall", {"#####", "#P..#", "#####"}));
  game().autoWalk = true;
  ASSERT_TRUE(switchLevel(game(), 1));
  EXPECT_FALSE(game().autoWalk) << "a level switch ends the walk";
}

TEST_F(MovementTest, StepsAreFixedAndForwardWins) {
  frameWith({vk::kUp});
  EXPECT_DOUBLE_EQ(game().playerX, 1.5 + 0.12);
  EXPECT_DOUBLE_EQ(game().playerY, 1.5);
  frameWith({vk::kDown});
  EXPECT_DOUBLE_EQ(game().playerX, 1.5 + 0.12 - 0.12);
  frameWith({vk::kUp, vk::kDown});
  EXPECT_DOUBLE_EQ(game().playerX, 1.5 + 0.12);
  // The step follows the angle after this frame's turn.
  game().playerX = 2.0;
  frameWith({vk::kUp, vk::kRight});
  EXPECT_DOUBLE_EQ(game().playerX, 2.0 + 0.12 * std::cos(0.05));
  EXPECT_DOUBLE_EQ(game().playerY, 1.5 + 0.12 * std::sin(0.05));
}

TEST_F(MovementTest, WallsAndTheGridEdgeStopAStepWhole) {
  game().playerX = 3.95;
  frameWith({vk::kUp});
  EXPECT_EQ(game().playerX, 3.95) << "the wall cell at column 4";
  // The player is a point against walls: a diagonal between two corner-touching walls.
  game().mapGrid[2 * 64 + 2] = '#';
  game().playerX = 1.95;
  game().playerY = 1.95;
  game().playerAngle = std::atan2(1.0, 1.0);
  frameWith({vk::kUp});
  EXPECT_EQ(game().playerX, 1.95) << "ends in the wall at (2, 2)";
  EXPECT_TRUE(canStandAt(game(), 3.0, 1.0));
  EXPECT_FALSE(canStandAt(game(), 64.2, 1.0));
  EXPECT_FALSE(canStandAt(game(), 1.0, -1.0));
}

TEST_F(MovementTest, JustBelowZeroCountsAsCellZero) {
  game().mapGrid[0] = '.';
  EXPECT_TRUE(canStandAt(game(), -0.5, 0.5));
  game().mapGrid[0] = '#';
  EXPECT_FALSE(canStandAt(game(), -0.5, 0.5));
}

TEST_F(MovementTest, SolidObjectsStopThePlayerHalfACellAwayButPickupsDoNot) {
  for (char glyph : std::string("OABFTMYfwot")) {
    game().mapObjects = {{2.5, 1.5, glyph, 7}};
    EXPECT_FALSE(canStandAt(game(), 2.01, 1.5)) << glyph;
    EXPECT_TRUE(canStandAt(game(), 2.0, 1.5)) << glyph << ": exactly 0.5 away does not block";
  }
  for (char glyph : std::string("hSkLm")) {
    game().mapObjects = {{2.5, 1.5, glyph, 7}};
    EXPECT_TRUE(canStandAt(game(), 2.5, 1.5)) << glyph;
  }
  game().enemies = {{2.5, 1.5, 200, 12, true}};
  game().mapObjects.clear();
  EXPECT_TRUE(canStandAt(game(), 2.5, 1.5)) << "enemies never block";
}

TEST_F(MovementTest, AFootstepOnEveryFifthMovingFrameHighFirst) {
  game().playerX = 1.2;
  std::vector<int> stepFrames;
  std::vector<double> pitches;
  for (int frame = 1; frame <= 15; ++frame) {
    frameWith({vk::kUp});
    if (frame == 3) {
      // A refused step in between counts for nothing.
      const double x = game().playerX;
      game().mapObjects = {{x + 0.12 + 0.3, 1.5, 'T', 14}};
      frameWith({vk::kUp});
      EXPECT_EQ(game().playerX, x);
      game().mapObjects.clear();
    }
    const auto voices = AudioEngine::instance().voicesSnapshot();
    if (!voices.empty()) {
      stepFrames.push_back(frame);
      pitches.push_back(voices.back().frequency);
      stopAllSounds();
    }
  }
  EXPECT_EQ(stepFrames, (std::vector<int>{5, 10, 15}));
  EXPECT_EQ(pitches, (std::vector<double>{sounds::kFootstepHigh.startHz, sounds::kFootstepLow.startHz,
                                          sounds::kFootstepHigh.startHz}));
  frameWith({vk::kLeft});
  EXPECT_EQ(game().footstepAccumulator, 0.0) << "turning on the spot makes no footsteps";
}

TEST_F(MovementTest, TheAngleIsNeverWrapped) {
  for (int i = 0; i < 200; ++i) frameWith({vk::kRight});
  EXPECT_NEAR(game().playerAngle, 10.0, 1e-9);
}

}  // namespace
}  // namespace veldra
