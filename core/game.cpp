#include "core/game.h"

#include "audio/audio_engine.h"
#include "core/level_loader.h"
#include "platform/process.h"
#include "core/presets.h"

namespace veldra {
namespace {

constexpr int kFatalExitStatus = 1;

[[noreturn]] void failFirstLevel(Game& game) {
  platform::writeStandardOutput("\n********************************\n");
  platform::writeStandardOutput(" ERROR: Could not load 'Testing\n");
  platform::writeStandardOutput(" Please ensure the file exists\n");
  platform::writeStandardOutput("\nPress any key to close veldra...");
  platform::waitForKey();
  // The destructor does not run on this path; the worker must still stop before the
  // process ends, since it uses the engine's lock.
  closeSoundClient(game.sound);
  platform::exitProcess(kFatalExitStatus);
}

}  // namespace

Game::Game() {
  // Members are built in declaration order: messages, then screen (which hides the cursor),
  // then the sound client with engineOpen clear, then the rest, the key block at preset A.
  applyPresetA(*this);
  sound.engineOpen = true;
  AudioEngine::instance().open();  // the game runs on, silent, when there is no device
  fillLevelTable(*this);
  levelIndex = 0;
  levelFile = levelFiles[levelIndex];
  if (!loadLevel(levelFile, *this, playerX, playerY)) failFirstLevel(*this);
  platform::writeStandardOutput("\n*******************************\n");
  platform::writeStandardOutput("Map: loaded");
}

Game::~Game() { closeSoundClient(sound); }

}  // namespace veldra
