#pragma once
// Rendering tests: a game on a small hand-made level, drawn into a headless window.

#include <string>
#include <vector>

#include "core/game.h"
#include "core/level_loader.h"
#include "render/present_frame.h"
#include "test_support.h"

namespace veldra::testing {

class RenderTest : public ScratchDirectoryTest {
 protected:
  // An open 64 x 64 field walled at its border, named `name` in the given theme file.
  static std::string openField() {
    std::string text = "Field\n" + std::string(64, '#') + "\n";
    for (int row = 1; row < 63; ++row) text += "#" + std::string(62, '.') + "#\n";
    return text + std::string(64, '#') + "\n";
  }

  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    writeFile("otestinggrounds.txt", openField());
    game_ = std::make_unique<Game>();
    game_->inFrontEnd = false;
    game_->mapObjects.clear();
    game_->enemies.clear();
  }

  // Replaces the level with `rows` (top-left aligned, the rest of the grid open floor).
  void useLevel(const std::string& fileName, const std::vector<std::string>& rows) {
    writeFile(fileName, testing::levelText("Test Level", rows));
    game().mapObjects.clear();
    game().enemies.clear();
    ASSERT_TRUE(loadLevel(fileName, game(), game().playerX, game().playerY));
  }

  void render(int width = 80, int height = 25) {
    platform::headless::setWindowSize(width, height);
    presentFrame(game());
  }

  const CHAR_INFO& cell(int column, int row) const {
    static const CHAR_INFO outside{};
    const bool inside = column >= 0 && column < platform::headless::lastFrameWidth() && row >= 0 &&
                        row < platform::headless::lastFrameHeight();
    EXPECT_TRUE(inside) << "cell (" << column << ", " << row << ") is outside the frame";
    if (!inside) return outside;
    return platform::headless::lastFrame()[row * platform::headless::lastFrameWidth() + column];
  }
  char charAt(int column, int row) const { return cell(column, row).Char.AsciiChar; }
  std::uint16_t attributeAt(int column, int row) const { return cell(column, row).Attributes; }
  std::string rowText(int row, int from = 0, int count = -1) const {
    const int width = platform::headless::lastFrameWidth();
    if (count < 0) count = width - from;
    std::string text;
    for (int column = from; column < from + count; ++column) text += charAt(column, row);
    return text;
  }

  Game& game() { return *game_; }
  std::unique_ptr<Game> game_;
};

}  // namespace veldra::testing
