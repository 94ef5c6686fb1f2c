#pragma once
// The one record of all game state. Every per-frame operation takes it by reference.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound_client.h"
#include "core/level_loader.h"
#include "core/binding_table.h"
#include "core/player_command.h"
#include "core/records.h"
#include "core/spell_facts.h"
#include "platform/keyboard.h"
#include "core/console_screen.h"

namespace veldra {


struct Game {
  // What the player sees and hears: the message log, the picture and the sound. Built
  // first, in this order (the screen hides the cursor), and given back last.
  std::vector<HudMessage> messages;
  ConsoleScreen screen;
  SoundClient sound;

  // The program's state: the loop runs while `running`; the title and preset pages come
  // before play; the pause key's latch.
  bool running = true;
  bool inFrontEnd = true;
  bool paused = false;
  bool pauseKeyHeld = false;

  // The front end's page and cursor, with the latches of its keys.
  std::int32_t menuPage = 0;
  std::int32_t menuCursor = 0;
  bool menuUpHeld = false;
  bool menuDownHeld = false;
  bool configKeyHeld = false;

  // What the player asks for this frame: read at the top of the player's step.
  PlayerCommand command;

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

  // Both presets in full (further keys, mouse buttons, stand-ins), the shipped ones unless a
  // settings file or a recording says otherwise, and the one the block was last filled from.
  BindingTable bindings = defaultBindings();
  int presetInForce = kPresetA;

  // The pad: there in the last frame (one pulled out pauses the game), and whether it, not
  // the keyboard or the mouse, was used last (the HUD then names its buttons).
  bool padWasPresent = false;
  bool padLastUsed = false;

  // The level: the table of level files by slot, the one loaded now, its grid (row by
  // row, mapWidth x mapHeight cells), name and theme.
  std::array<std::string, kLevelSlots> levelFiles;
  std::int32_t levelIndex = 0;
  std::string levelFile;
  std::int32_t mapWidth = 64;
  std::int32_t mapHeight = 64;
  std::string mapGrid;
  std::string levelName;
  char themeLetter = ' ';

  // What is in the level besides its walls, in the order it came: the latest record of
  // each list acts first where order matters.
  std::vector<MapObject> mapObjects;
  std::vector<Enemy> enemies;
  std::vector<Projectile> projectiles;
  std::vector<Particle> particles;
  // Pickups taken, by level slot and cell: they stay taken when the player comes back.
  std::vector<ConsumedPickup> consumedPickups;
  // A portal whose level file cannot be opened has said so since the player came in reach;
  // cleared when no such portal is in reach.
  bool portalFailureReported = false;

  // The player: where he stands and faces (cells, radians), health and mana.
  double playerX = 4.0;
  double playerY = 4.0;
  double playerAngle = 0.0;
  double footstepAccumulator = 0.0;  // cells walked since the last footstep
  // Walking forward with no key held, toggled by Tab where the keys are not exact (there only
  // the last key pressed repeats, so forward cannot be held while turning), with Tab's latch.
  bool autoWalk = false;
  bool autoWalkKeyHeld = false;
  std::int32_t hp = 20;
  std::int32_t hpMax = 100;
  bool alive = true;
  std::int32_t mp = 0;
  std::int32_t mpMax = kPlainManaCap;
  bool manaInfusion = false;
  std::int32_t manaRegenCounter = 0;  // frames
  std::int32_t burnCooldown = 0;      // frames in which nothing can hurt him again

  // The staff: the swing's picture (0 when not swinging) and its key's latch.
  std::int32_t attackFrame = 0;
  bool attackKeyHeld = false;

  // The spells: learned, upgraded, their base damage, the shield's run and the key latches
  // kept here (IGNIS's and GLACIES's are process-wide).
  bool ignisLearned = false;
  bool glaciesLearned = false;
  bool electricaLearned = false;
  bool herbaLearned = false;
  bool ignisUpgraded = false;
  bool glaciesUpgraded = false;
  bool electricaUpgraded = false;
  bool herbaUpgraded = false;
  std::int32_t ignisDamage = 100;
  std::int32_t electricaDamage = 50;
  std::int32_t herbaDamage = 5;
  bool glaciesActive = false;
  std::int32_t glaciesTimer = 0;  // frames
  bool electricaKeyHeld = false;
  bool herbaKeyHeld = false;

  // Opens the sound and loads the first level; on failure prints the fatal lines, waits
  // for a key and ends the process with status 1.
  Game();
  // Closes the sound if the loop has not, then shows the console cursor again.
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;
};

}  // namespace veldra
