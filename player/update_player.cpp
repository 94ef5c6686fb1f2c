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

}  // namespace

void updatePlayer(Game& game) {
  game.command = readPlayerCommand(game);
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
