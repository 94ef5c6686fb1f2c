#pragma once
// The one record of all game state. Every per-frame operation takes it by reference.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound_client.h"
#include "core/level_loader.h"
#include "core/records.h"
#include "platform/keyboard.h"
#include "render/console_screen.h"

namespace veldra {


struct Game {
  std::vector<HudMessage> messages;
  ConsoleScreen screen;
  SoundClient sound;
  double footstepAccumulator = 0.0;
  std::int32_t mapWidth = 64;
  std::int32_t mapHeight = 64;
  // The binding block: nine virtual-key codes, preset A by default.
  std::int32_t keyForward = vk::kUp;
  std::int32_t keyBackward = vk::kDown;
  std::int32_t keyTurnLeft = vk::kLeft;
  std::int32_t keyTurnRight = vk::kRight;
  std::int32_t keyAttack = vk::kLeftControl;
  std::int32_t keyIgnis = vk::kSpace;
  std::int32_t keyGlacies = vk::kE;
  std::int32_t keyElectrica = vk::kLeftAlt;
  std::int32_t keyHerba = vk::kLeftShift;
  std::int32_t menuPage = 0;
  std::int32_t menuCursor = 0;
  bool menuUpHeld = false;
  bool menuDownHeld = false;
  bool configKeyHeld = false;
  std::string mapGrid;
  std::string levelName;
  double playerX = 4.0;
  double playerY = 4.0;
  double playerAngle = 0.0;
  std::array<std::string, kLevelSlots> levelFiles;
  std::int32_t levelIndex = 0;
  std::string levelFile;
  char themeLetter = ' ';
  bool running = true;
  bool inFrontEnd = true;
  bool paused = false;
  bool pauseKeyHeld = false;
  std::vector<MapObject> mapObjects;
  std::vector<Particle> particles;
  std::vector<Enemy> enemies;
  std::int32_t attackFrame = 0;
  bool attackKeyHeld = false;
  bool herbaKeyHeld = false;
  std::int32_t hp = 20;
  std::int32_t hpMax = 100;
  bool alive = true;
  std::int32_t mp = 0;
  std::int32_t mpMax = 50;
  bool electricaUpgraded = false;
  bool ignisUpgraded = false;
  bool glaciesUpgraded = false;
  bool herbaUpgraded = false;
  std::int32_t electricaDamage = 50;
  std::int32_t ignisDamage = 100;
  std::int32_t herbaDamage = 5;
  bool manaInfusion = false;
  std::int32_t burnCooldown = 0;     // frames
  std::int32_t manaRegenCounter = 0; // frames
  bool ignisLearned = false;
  bool glaciesLearned = false;
  bool glaciesActive = false;
  std::int32_t glaciesTimer = 0;  // frames
  bool electricaLearned = false;
  bool herbaLearned = false;
  bool electricaKeyHeld = false;
  std::vector<Projectile> projectiles;
  std::vector<ConsumedPickup> consumedPickups;
  // A portal whose level file cannot be opened has said so since the player came in reach;
  // cleared when no such portal is in reach.
  bool portalFailureReported = false;

  // Opens the sound and loads the first level; on failure prints the fatal lines, waits
  // for a key and ends the process with status 1.
  Game();
  // Closes the sound if the loop has not, then shows the console cursor again.
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;
};

}  // namespace veldra
