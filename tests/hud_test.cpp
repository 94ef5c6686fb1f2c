// The heads-up display: minimap, bars, spell lines, pause box, staff and message lines.

#include <gtest/gtest.h>

#include <numbers>

#include "core/messages.h"
#include "core/presets.h"
#include "render/hud.h"
#include "render_support.h"

namespace veldra {
namespace {

namespace headless = platform::headless;

class HudTest : public testing::RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    game().playerX = 10.5;
    game().playerY = 10.5;
  }
};

TEST_F(HudTest, TheMinimapArrowFollowsTheAngle) {
  const std::pair<double, char> cases[] = {{0.0, '>'}, {0.8, 'v'}, {2.0, 'v'}, {std::numbers::pi, '<'},
                                           {5.0, '^'}, {6.0, '>'}, {-0.1, '>'}, {0.8 + 200 * std::numbers::pi, 'v'}};
  for (const auto& [angle, arrow] : cases) {
    game().playerAngle = angle;
    render();
    EXPECT_EQ(charAt(80 - 9, 7), arrow) << angle;
    EXPECT_EQ(attributeAt(80 - 9, 7), 10);
  }
}

TEST_F(HudTest, TheMinimapShowsWallsFloorAndSpritesInTheirColourByte) {
  game().mapObjects.push_back({12.5, 10.5, 'F', 14});
  game().enemies.push_back({10.5, 8.5, 200, 12, true});
  render();
  const int centre = 80 - 9;
  EXPECT_EQ(charAt(centre + 2, 7), 'F');
  EXPECT_EQ(attributeAt(centre + 2, 7), 14);
  EXPECT_EQ(charAt(centre, 5), 'E');
  EXPECT_EQ(attributeAt(centre, 5), 12) << "health does not colour the minimap";
  EXPECT_EQ(charAt(centre + 1, 7), ' ') << "floor shows as a space";
  EXPECT_EQ(charAt(centre - 6, 7), '+');
  EXPECT_EQ(attributeAt(centre - 6, 7), 3);
  game().playerX = 1.5;  // the border wall is one cell west
  render();
  EXPECT_EQ(charAt(centre - 1, 7), '#');
  EXPECT_EQ(attributeAt(centre - 1, 7), 3);
}

TEST_F(HudTest, TheLevelNameSitsOnTheMinimapAndIsCutAtTheEdge) {
  render();
  EXPECT_EQ(rowText(1, 80 - 8 - 2, 5), "Field");
  EXPECT_EQ(attributeAt(80 - 10, 1), 11);
  game().levelName = "A Very Long Level Name Indeed";
  render();
  EXPECT_EQ(rowText(1, 80 - 14), "A Very Long Le");
}

TEST_F(HudTest, HealthLabelWarnsAtLowHealthAndBlinksWhileBurning) {
  game().hp = 25;
  render();
  EXPECT_EQ(rowText(1, 2, 4), "HP: ");
  EXPECT_EQ(attributeAt(2, 1), 0x4C);
  EXPECT_EQ(rowText(1, 6, 10), "\xDB\xDB........");
  EXPECT_EQ(rowText(1, 16, 7), " 25/100");

  game().hp = 60;
  game().burnCooldown = 10;
  headless::setTickCount(50);
  render();
  EXPECT_EQ(attributeAt(2, 1), 0x4C);
  EXPECT_EQ(rowText(1, 6, 10), "\xDB\xDB\xDB\xDB\xDB\xDB....");
  headless::setTickCount(150);
  render();
  EXPECT_EQ(attributeAt(2, 1), 12);
  game().burnCooldown = 0;
  headless::setTickCount(50);
  render();
  EXPECT_EQ(attributeAt(2, 1), 12) << "no blinking without a burn";

  game().hp = 150;
  render();
  EXPECT_EQ(rowText(1, 6, 10), std::string(10, '\xDB')) << "the bar is capped full";
}

TEST_F(HudTest, ManaInfusionIsMarkedAfterTheNumbers) {
  game().mpMax = 500;
  game().mp = 450;
  render();
  EXPECT_EQ(rowText(2, 16, 8), " 450/500");
  EXPECT_EQ(charAt(25, 2), '-');
  EXPECT_EQ(attributeAt(25, 2), 12);
  EXPECT_EQ(attributeAt(16, 2), 9);
}

TEST_F(HudTest, SpellLinesShowTheActivePresetsKeys) {
  game().ignisLearned = game().electricaLearned = game().glaciesLearned = game().herbaLearned = true;
  game().ignisUpgraded = true;
  render();
  EXPECT_EQ(rowText(3, 2, 19), "[IGNIS]: (SPACE) ++");
  EXPECT_EQ(rowText(4, 2, 21), "ELECTRICA: (LEFT ALT)");
  EXPECT_EQ(rowText(5, 2, 20), "[GLACIES]: READY (E)");
  EXPECT_EQ(attributeAt(2, 5), 3);
  EXPECT_EQ(rowText(6, 2, 19), "HERBA: (LEFT SHIFT)");

  applyPresetB(game());
  game().glaciesActive = true;
  render();
  EXPECT_EQ(rowText(3, 2, 16), "[IGNIS]: (SPACE)");
  EXPECT_EQ(rowText(4, 2, 23), "ELECTRICA: (RIGHT CTRL)");
  EXPECT_EQ(rowText(5, 2, 18), "[GLACIES] [ACTIVE]");
  EXPECT_EQ(attributeAt(2, 5), 11);
  EXPECT_EQ(rowText(6, 2, 10), "HERBA: (/)");
  game().glaciesActive = false;
  render();
  EXPECT_EQ(rowText(5, 2, 28), "[GLACIES]: READY (RIGHT ALT)");
  applyPresetA(game());
  game().ignisLearned = false;
  render();
  EXPECT_EQ(rowText(3, 2, 17), "[IGNIS]: [LOCKED]");
  EXPECT_EQ(attributeAt(2, 3), 7);
}

TEST_F(HudTest, SmallFramesDropTheHudPieces) {
  render(40, 25);
  EXPECT_NE(rowText(1, 2, 4), "HP: ") << "40 columns is too narrow for the bars";
  render(41, 14);
  EXPECT_EQ(rowText(1, 2, 4), "HP: ");
  EXPECT_NE(charAt(41 - 15, 7), '+') << "14 rows is too short for the minimap";
  EXPECT_EQ(rowText(1, 41 - 10, 5), "Field") << "but the name still shows";
}

TEST_F(HudTest, ThePauseBoxIsCentredUnderTheStaff) {
  game().paused = true;
  render();
  EXPECT_EQ(rowText(11, 31, 19), "=== GAME PAUSED ===");
  EXPECT_EQ(attributeAt(31, 11), 0x7C);
  EXPECT_EQ(rowText(13, 31, 19), "Press 'P' to Resume");
  EXPECT_EQ(attributeAt(31, 13) >> 4, 7) << "readable on light grey";
  EXPECT_EQ(attributeAt(29, 10), 0x70);
  EXPECT_EQ(attributeAt(51, 14), 0x70);
  EXPECT_NE(attributeAt(52, 12), 0x70);
  EXPECT_NE(attributeAt(28, 12), 0x70);
}

TEST_F(HudTest, TheStaffSwingsThroughItsPositions) {
  const std::pair<int, int> corners[] = {{80 - 21, 25 - 9}, {80 - 33, 25 - 8}, {80 - 45, 25 - 11},
                                         {80 - 39, 25 - 10}, {80 - 27, 25 - 9}, {80 - 21, 25 - 9}};
  for (int step = 0; step <= 5; ++step) {
    game().attackFrame = step;
    render();
    const auto [left, top] = corners[step];
    EXPECT_EQ(charAt(left + 9, top), '/') << step;
    EXPECT_EQ(charAt(left + 10, top), '|') << step;
    EXPECT_EQ(attributeAt(left + 9, top), 0x4C) << step;
    if (top + 8 < 25) {
      EXPECT_EQ(charAt(left + 2, top + 8), '|') << step;
    }
  }
}

TEST_F(HudTest, MessagesArePrintedOverTheFramePaddedToForty) {
  const std::uint16_t colours[] = {9, 10, 11, 12, 14};
  for (int i = 0; i < 5; ++i) postMessage(game(), "message " + std::to_string(i), colours[i]);
  render(80, 30);
  const auto& texts = headless::consoleTexts();
  ASSERT_EQ(texts.size(), 4u);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(texts[k].column, 2);
    EXPECT_EQ(texts[k].row, 8 + k);
    EXPECT_EQ(texts[k].attribute, colours[k + 1]);
    EXPECT_EQ(texts[k].text, "message " + std::to_string(k + 1) + std::string(31, ' '));
  }
  EXPECT_EQ(headless::cursorColumn(), 0);
  EXPECT_EQ(headless::cursorRow(), 0);
  EXPECT_EQ(headless::textAttribute(), 14) << "the colour is left at the last message's";

  render(80, 10);  // only rows 8 and 9 are on screen
  EXPECT_EQ(headless::consoleTexts().size(), 4u + 2u);
}

}  // namespace
}  // namespace veldra
