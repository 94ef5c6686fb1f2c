#include "player/update_player.h"

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "frontend/front_end.h"
#include "player/bindings.h"
#include "player/movement.h"
#include "player/pickups.h"
#include "player/spells.h"
#include "player/staff.h"

namespace veldra {
namespace {

void handlePauseKey(Game& game) {
  const bool down = game.command.pause;
  if (down && !game.pauseKeyHeld && !game.inFrontEnd) {
    game.paused = !game.paused;
    stopAutoWalk(game);
    play(game.sound, sounds::kPauseToggle);
  }
  game.pauseKeyHeld = down;
}

// A pad pulled out in play pauses the game, as a console game does; the HUD names the pad's
// buttons while the pad is what was used last.
void followThePad(Game& game) {
  const PlayerCommand& command = game.command;
  if (game.padWasPresent && !command.padPresent && !game.inFrontEnd && !game.paused) {
    game.paused = true;
    stopAutoWalk(game);
    play(game.sound, sounds::kPauseToggle);
  }
  game.padWasPresent = command.padPresent;
  if (command.padUsed) game.padLastUsed = true;
  else if (command.keysUsed) game.padLastUsed = false;
}

}  // namespace

void updatePlayer(Game& game) {
  game.command = readPlayerCommand(game);
  followThePad(game);
  handlePauseKey(game);
  if (game.inFrontEnd) {
    updateFrontEnd(game);
    return;
  }
  if (game.paused) return;  // only the pause key is read while paused
  if (game.command.quit) {
    game.running = false;
    return;
  }
  toggleAutoWalk(game);
  turnAndMove(game);
  swingStaff(game);
  // A portal that changes the level ends the step: no spell is cast in that frame and the
  // spell keys keep their previous state.
  if (touchMapObjects(game)) return;
  castSpells(game);
}

}  // namespace veldra
