#include "player/level_switch.h"

#include <utility>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/level_loader.h"
#include "core/messages.h"
#include "player/movement.h"
#include "core/colours.h"

namespace veldra {
namespace {

constexpr std::uint16_t kLoadedColour = colour::kWhite;

// What a switch replaces, kept aside until the new level has loaded.
struct LevelState {
  std::vector<MapObject> mapObjects;
  std::vector<Enemy> enemies;
  std::vector<Projectile> projectiles;
  std::vector<Particle> particles;
  std::int32_t levelIndex;
  std::string levelFile;
  char themeLetter;
};

LevelState takeLevelState(Game& game) {
  LevelState state{std::exchange(game.mapObjects, {}), std::exchange(game.enemies, {}),
                   std::exchange(game.projectiles, {}), std::exchange(game.particles, {}),
                   game.levelIndex, game.levelFile, game.themeLetter};
  return state;
}

void restoreLevelState(Game& game, LevelState& state) {
  game.mapObjects = std::move(state.mapObjects);
  game.enemies = std::move(state.enemies);
  game.projectiles = std::move(state.projectiles);
  game.particles = std::move(state.particles);
  game.levelIndex = state.levelIndex;
  game.levelFile = std::move(state.levelFile);
  game.themeLetter = state.themeLetter;
}

}  // namespace

bool switchLevel(Game& game, int step) {
  const int target = game.levelIndex + step;
  if (target < 0 || target >= kLevelSlots) return false;
  LevelState previous = takeLevelState(game);
  // The loader reads the new index to leave out the pickups already taken there.
  game.levelIndex = target;
  // A level that cannot be opened must not strand the player on an emptied copy of the old
  // one: the switch is undone whole.
  if (!loadLevel(game.levelFiles[static_cast<std::size_t>(target)], game, game.playerX, game.playerY)) {
    restoreLevelState(game, previous);
    return false;
  }
  stopAutoWalk(game);
  // The text tells the direction, whichever file the slot holds.
  postMessage(game, step > 0 ? "LOADED AXIS MUNDI" : "LOADED TESTING GROUNDS", kLoadedColour);
  play(game.sound, step > 0 ? sounds::kPortalForward : sounds::kPortalBack);
  return true;
}

}  // namespace veldra
