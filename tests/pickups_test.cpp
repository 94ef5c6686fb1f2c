// Scrolls, health and mana pickups, and the portals between the levels.

#include <gtest/gtest.h>

#include <filesystem>

#include "play_support.h"

namespace veldra {
namespace {

// Slot 0: the player at (1.5, 1.5), a health pickup, an enemy and the forward portal at
// (6.5, 1.5). Slot 1: the back portal at (1.5, 1.5), the start at (4.5, 1.5).
class PickupsTest : public testing::PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    writeFile("iaxismundi.txt", testing::levelText("Second", {"##########", "#A..P..E.#", "##########"}));
    start({"##########", "#P.h..O..#", "#.E......#", "##########"});
  }
  void put(double x, double y, char glyph, std::uint16_t colour = 12) {
    game().mapObjects.push_back({x, y, glyph, colour});
  }
  void standAt(double x, double y) {
    game().playerX = x;
    game().playerY = y;
  }
  std::size_t objectsWith(char glyph) const {
    return static_cast<std::size_t>(std::count_if(game_->mapObjects.begin(), game_->mapObjects.end(),
                                                  [glyph](const MapObject& o) { return o.glyph == glyph; }));
  }
};

TEST_F(PickupsTest, ScrollsTeachThenUpgradeThenOnlySaySo) {
  for (int i = 0; i < 3; ++i) {
    put(2.2, 2.0, 'S');
    press({});
  }
  EXPECT_TRUE(game().ignisLearned);
  EXPECT_TRUE(game().ignisUpgraded);
  EXPECT_EQ(messageTexts(),
            (std::vector<std::string>{"IGNIS scroll discovered!", "IGNIS spell upgraded!", "IGNIS spell upgraded!"}));
  EXPECT_EQ(game().messages[0].colour, 12);
  EXPECT_EQ(takeCount(sounds::kIgnisScroll), 3);
  ASSERT_EQ(game().consumedPickups.size(), 3u);
  EXPECT_EQ(game().consumedPickups[0].levelIndex, 0);
  EXPECT_EQ(game().consumedPickups[0].x, 2);
  EXPECT_EQ(game().consumedPickups[0].y, 2);
  EXPECT_EQ(objectsWith('S'), 0u);
}

TEST_F(PickupsTest, TwoScrollsInOneFrameTheLaterOneTeaches) {
  game().messages.clear();
  put(1.0, 1.5, 'k', 9);
  put(2.0, 1.5, 'k', 9);
  put(1.5, 2.0, 'L', 14);
  put(1.5, 1.0, 'B', 2);
  press({});
  EXPECT_TRUE(game().glaciesUpgraded);
  EXPECT_TRUE(game().electricaLearned);
  EXPECT_TRUE(game().herbaLearned);
  // Only four messages are kept: the B, L and both k ones (latest object first).
  EXPECT_EQ(messageTexts(), (std::vector<std::string>{"HERBA scroll discovered!", "ELECTRICA scroll discovered!",
                                                      "GLACIES scroll discovered!", "GLACIES spell upgraded!"}));
  EXPECT_EQ(game().messages[1].colour, 14);
  EXPECT_EQ(game().messages[0].colour, 10);
}

TEST_F(PickupsTest, ReachIsStrictlyBelowOneForPickupsAndPointEightForPortals) {
  put(1.5 + 0.999, 1.5, 'm', 11);
  put(1.5, 1.5 + 1.0, 'S');
  press({});
  EXPECT_EQ(objectsWith('m'), 0u);
  EXPECT_EQ(objectsWith('S'), 1u);
  // 1.3 - 0.5 is exactly the double nearest 0.8.
  game().mapObjects = {{1.3, 1.5, 'O', 11}};
  standAt(0.5, 1.5);
  press({});
  EXPECT_EQ(game().levelIndex, 0);
  standAt(0.51, 1.5);
  press({});
  EXPECT_EQ(game().levelIndex, 1);
}

TEST_F(PickupsTest, HealthIsTakenOnlyBelowTheCap) {
  game().hp = 100;
  standAt(3.2, 1.5);
  press({vk::kRight, vk::kRight});
  EXPECT_EQ(objectsWith('h'), 1u);
  EXPECT_TRUE(game().messages.empty());
  // Walking onto it is never blocked.
  game().playerAngle = 0.0;
  press({vk::kUp});
  EXPECT_DOUBLE_EQ(game().playerX, 3.32);
  game().hp = 90;
  press({});
  EXPECT_EQ(game().hp, 100);
  EXPECT_EQ(objectsWith('h'), 0u);
  EXPECT_EQ(messageTexts(), std::vector<std::string>{"Health Restored (+20 HP)"});
  EXPECT_EQ(game().messages[0].colour, 10);
  EXPECT_EQ(takeCount(sounds::kHealthPickup), 1);
}

TEST_F(PickupsTest, ManaObjectsToggleTheInfusion) {
  game().mp = 30;
  put(2.0, 1.5, 'm', 11);
  press({});
  EXPECT_TRUE(game().manaInfusion);
  EXPECT_EQ(game().mp, 450);
  EXPECT_EQ(game().mpMax, 500);
  put(2.0, 1.5, 'm', 11);
  press({});
  EXPECT_FALSE(game().manaInfusion);
  EXPECT_EQ(game().mp, 0);
  EXPECT_EQ(game().mpMax, 50);
  EXPECT_EQ(messageTexts(),
            (std::vector<std::string>{"Mana Infusion! REGEN LIMITED", "Mana Refactor! REGEN RESTORED"}));
  EXPECT_EQ(takeCount(sounds::kManaPickup), 2);
}

TEST_F(PickupsTest, PickupsActBeforeSpellsInTheSameFrame) {
  game().mp = 40;
  put(2.0, 1.5, 'S');
  press({vk::kSpace});
  EXPECT_EQ(game().projectiles.size(), 1u);
  EXPECT_EQ(game().mp, 5);
}

TEST_F(PickupsTest, APortalEndsTheStepSoNoSpellIsCastThatFrame) {
  game().ignisLearned = true;
  game().mp = 50;
  put(6.0, 1.2, 'S');  // later than the portal: taken first
  game().mapObjects.insert(game().mapObjects.begin(), MapObject{6.0, 2.0, 'h', 15});
  game().hp = 50;
  standAt(6.3, 1.5);
  press({vk::kSpace});
  EXPECT_EQ(game().levelIndex, 1);
  EXPECT_TRUE(game().projectiles.empty());
  EXPECT_EQ(game().mp, 50);
  EXPECT_FALSE(ignisKeyHeld) << "the spell step did not run, so its flag kept its old value";
  EXPECT_EQ(game().hp, 50) << "the health pickup, earlier in the array, never got its turn";
  EXPECT_TRUE(game().ignisUpgraded) << "the scroll, later in the array, did";
}

TEST_F(PickupsTest, ForwardAndBackRestoresEnemiesButNotTakenPickups) {
  game().hp = 50;
  game().mp = 33;
  game().glaciesActive = true;
  game().glaciesTimer = 300;
  game().playerAngle = 0.7;
  game().projectiles = {{3, 2, 0.25, 0}};
  game().particles = {{3, 2, 0, 0, 5, 9}};
  standAt(3.5, 1.9);
  press({});  // takes the health pickup
  EXPECT_EQ(game().hp, 70);
  game().enemies[0].hp = 10;
  standAt(6.2, 1.5);
  press({});
  EXPECT_EQ(game().levelIndex, 1);
  EXPECT_EQ(game().levelFile, "iaxismundi.txt");
  EXPECT_EQ(game().themeLetter, 'i');
  EXPECT_EQ(game().levelName, "Second");
  EXPECT_EQ(game().playerX, 4.5);
  EXPECT_TRUE(game().projectiles.empty());
  EXPECT_TRUE(game().particles.empty());
  ASSERT_EQ(game().enemies.size(), 1u);
  EXPECT_EQ(game().enemies[0].x, 7.5);
  EXPECT_EQ(game().messages.back().text, "LOADED AXIS MUNDI");
  EXPECT_EQ(game().messages.back().colour, 15);
  EXPECT_EQ(takeCount(sounds::kPortalForward), 1);

  standAt(2.2, 1.5);
  press({});
  EXPECT_EQ(game().levelIndex, 0);
  EXPECT_EQ(game().messages.back().text, "LOADED TESTING GROUNDS");
  EXPECT_EQ(takeCount(sounds::kPortalBack), 1);
  EXPECT_EQ(game().playerX, 1.5);
  ASSERT_EQ(game().enemies.size(), 1u);
  EXPECT_EQ(game().enemies[0].hp, 200) << "enemies come back whole";
  EXPECT_EQ(objectsWith('h'), 0u) << "the taken pickup stays taken";
  EXPECT_EQ(objectsWith('O'), 1u);
  // What carries over.
  EXPECT_EQ(game().hp, 70);
  EXPECT_EQ(game().mp, 33);
  EXPECT_TRUE(game().glaciesActive);
  EXPECT_EQ(game().glaciesTimer, 300);
  EXPECT_EQ(game().playerAngle, 0.7);
}

TEST_F(PickupsTest, TheLastSlotsForwardPortalHumsEveryFrameAndLeadsNowhere) {
  game().levelIndex = 9;
  standAt(6.0, 1.5);
  for (int i = 0; i < 3; ++i) press({});
  EXPECT_EQ(game().levelIndex, 9);
  EXPECT_EQ(takeCount(sounds::kLastPortalHum), 3);
  EXPECT_TRUE(game().messages.empty());
  // The back portal on slot 0 does nothing at all.
  game().levelIndex = 0;
  put(1.5, 1.5, 'A', 13);
  standAt(1.9, 1.5);
  press({});
  EXPECT_EQ(game().levelIndex, 0);
  EXPECT_TRUE(takeSounds().empty());
}

TEST_F(PickupsTest, APortalToAMissingFileChangesNothingAndSaysSoOncePerApproach) {
  std::filesystem::remove("iaxismundi.txt");
  game().hp = 100;  // leaves the health pickup alone
  game().projectiles = {{3, 2, 0.25, 0}};
  const std::string grid = game().mapGrid;
  const std::size_t objects = game().mapObjects.size();
  standAt(6.0, 1.5);
  for (int i = 0; i < 3; ++i) press({});
  EXPECT_EQ(game().levelIndex, 0);
  EXPECT_EQ(game().levelFile, "otestinggrounds.txt");
  EXPECT_EQ(game().themeLetter, 'o');
  EXPECT_EQ(game().mapGrid, grid);
  EXPECT_EQ(game().mapObjects.size(), objects);
  EXPECT_EQ(game().enemies.size(), 1u);
  EXPECT_EQ(game().projectiles.size(), 1u);
  EXPECT_EQ(game().playerX, 6.0);
  EXPECT_EQ(takeCount(sounds::kLastPortalHum), 3);
  EXPECT_EQ(messageTexts(), std::vector<std::string>{"Cannot open level file 'iaxismundi.txt'"});
  EXPECT_EQ(game().messages[0].colour, 12);

  // Out of reach and back again: told again.
  standAt(4.0, 1.5);
  press({});
  standAt(6.0, 1.5);
  press({});
  EXPECT_EQ(game().messages.size(), 2u);

  // Once the file is there, the portal works.
  writeFile("iaxismundi.txt", testing::levelText("Second", {"#####", "#AP.#", "#####"}));
  press({});
  EXPECT_EQ(game().levelIndex, 1);
}

}  // namespace
}  // namespace veldra
