// Sizing, reuse and clearing of the cell buffer.

#include <gtest/gtest.h>

#include "core/game.h"
#include "frontend/front_end.h"
#include "render/present_frame.h"
#include "play_support.h"

namespace veldra {
namespace {

namespace headless = platform::headless;

class FrameSizeTest : public testing::PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    start({"#P.#"});
  }
};

TEST_F(FrameSizeTest, WithoutAConsoleFramesAre80By25) {
  presentFrame(game());
  EXPECT_EQ(game().screen.cellCount, 80 * 25);
  EXPECT_EQ(headless::lastFrameWidth(), 80);
  EXPECT_EQ(headless::lastFrameHeight(), 25);
  EXPECT_EQ(headless::frameWrites(), 1);
}

TEST_F(FrameSizeTest, GameFramesAreCappedAt120By50ButTheTitleIsNot) {
  headless::setWindowSize(200, 60);
  presentFrame(game());
  EXPECT_EQ(headless::lastFrameWidth(), 120);
  EXPECT_EQ(headless::lastFrameHeight(), 50);
  drawFrontEnd(game().screen, 0, 0);
  EXPECT_EQ(headless::lastFrameWidth(), 200);
  EXPECT_EQ(headless::lastFrameHeight(), 60);
  EXPECT_EQ(game().screen.cellCount, 200 * 60);
}

TEST_F(FrameSizeTest, TheArrayIsReusedWhileTheCellCountStays) {
  headless::setWindowSize(80, 30);
  presentFrame(game());
  const CHAR_INFO* first = game().screen.cells.get();
  headless::setWindowSize(120, 20);  // another shape, the same 2400 cells
  presentFrame(game());
  EXPECT_EQ(game().screen.cells.get(), first);
  EXPECT_EQ(headless::lastFrameWidth(), 120);
  headless::setWindowSize(100, 30);
  presentFrame(game());
  EXPECT_EQ(game().screen.cellCount, 3000);
}

TEST_F(FrameSizeTest, AnEmptyWindowDrawsNothing) {
  headless::setWindowSize(0, 30);
  presentFrame(game());
  drawFrontEnd(game().screen, 0, 0);
  EXPECT_EQ(headless::frameWrites(), 0);
  EXPECT_EQ(game().screen.cellCount, 0);
}

TEST_F(FrameSizeTest, EveryFrameStartsCleared) {
  headless::setWindowSize(40, 20);
  drawFrontEnd(game().screen, 0, 0);  // the title clears to attribute 0
  for (int i = 0; i < game().screen.cellCount; ++i) game().screen.cells[i].Char.AsciiChar = 'Z';
  drawFrontEnd(game().screen, 0, 0);
  const CHAR_INFO& corner = headless::lastFrame()[0];
  EXPECT_EQ(corner.Char.AsciiChar, ' ');
  EXPECT_EQ(corner.Attributes, 0);
}

}  // namespace
}  // namespace veldra
