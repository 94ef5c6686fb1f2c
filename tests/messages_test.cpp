// The message log: at most four, each shown for 119 frames from the frame it was posted in.

#include <gtest/gtest.h>

#include "core/game.h"
#include "program/game_loop.h"
#include "core/messages.h"
#include "play_support.h"

namespace veldra {
namespace {

namespace headless = platform::headless;

class MessagesTest : public testing::PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    start({"###", "#P#", "###"});
  }
};

TEST_F(MessagesTest, AFifthPostPushesOutTheOldest) {
  for (int i = 0; i < 5; ++i) postMessage(game(), "m" + std::to_string(i), 15);
  ASSERT_EQ(game().messages.size(), 4u);
  EXPECT_EQ(game().messages.front().text, "m1");
  EXPECT_EQ(game().messages.back().text, "m4");
  postMessage(game(), "m4", 12);
  EXPECT_EQ(game().messages[2].text, "m4");
  EXPECT_EQ(game().messages[3].text, "m4") << "the same text twice is two messages";
  EXPECT_EQ(game().messages[3].framesLeft, 120);
}

TEST_F(MessagesTest, APostInFrameNIsPrintedThroughFrameNPlus118) {
  headless::setWindowSize(80, 25);
  int lastPrinted = -1;
  // Posted during the input step of frame 0, as the game's own messages are.
  headless::setInputScript([this](int frame) {
    if (frame == 0) postMessage(game(), "hello", 10);
  });
  for (int frame = 0; frame < 130; ++frame) {
    const std::size_t before = headless::consoleTexts().size();
    ASSERT_TRUE(runFrame(game()));
    if (headless::consoleTexts().size() > before) lastPrinted = frame;
  }
  EXPECT_EQ(lastPrinted, 118);
  EXPECT_TRUE(game().messages.empty());
}

TEST_F(MessagesTest, MessagesDoNotAgeWhilePaused) {
  postMessage(game(), "wait", 9);
  game().paused = true;
  for (int i = 0; i < 200; ++i) runFrame(game());
  ASSERT_EQ(game().messages.size(), 1u);
  EXPECT_EQ(game().messages[0].framesLeft, 120);
}

}  // namespace
}  // namespace veldra
