#include "program/game_loop.h"

#include "audio/sound_client.h"
#include "core/game.h"
#include "program/frame_watcher.h"
#include "frontend/front_end.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/frame_input.h"
#include "platform/lifetime.h"
#include "render/present_frame.h"
#include "player/update_player.h"
#include "world/update_world.h"

namespace veldra {
namespace {

// Nothing is scaled by measured time: every speed and timer counts frames of this pace.
constexpr unsigned kFrameSleepMs = 16;
constexpr unsigned kFarewellPauseMs = 5000;

}  // namespace

bool updateFrame(Game& game) {
  if (!platform::beginFrame()) return false;  // input: this frame's keys, clock and window
  updatePlayer(game);
  if (!game.inFrontEnd && !game.paused) updateWorld(game);
  return true;
}

bool runFrame(Game& game, FrameWatcher* watcher) {
  if (!updateFrame(game)) return false;
  if (game.inFrontEnd) {
    drawFrontEnd(game.screen, game.menuPage, game.menuCursor, game.bindings);
    if (watcher) watcher->frameDrawn(game);
    return true;
  }
  presentFrame(game);
  if (watcher) watcher->frameDrawn(game);
  if (!game.alive) {
    platform::writeStandardOutput("\nYou have died! Thank you for playing!\n");
    platform::farewellPause(kFarewellPauseMs);
    return false;
  }
  return true;
}

void runGameLoop(Game& game) { runGameLoop(game, nullptr); }

void runGameLoop(Game& game, FrameWatcher* watcher) {
  while (game.running) {
    // A death ends the game at once: the sounds already asked for play on through the
    // farewell pause and the Game's destructor closes the engine. So does the end of a
    // recording being played back, with no farewell at all.
    if (!runFrame(game, watcher)) return;
    platform::sleepMilliseconds(kFrameSleepMs);
  }
  stopAllSounds();
  closeSoundClient(game.sound);
  platform::writeStandardOutput("\nGame loop closed gracefully.\n");
  platform::farewellPause(kFarewellPauseMs);
}

}  // namespace veldra
