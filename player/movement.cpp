#include "player/movement.h"

#include <cmath>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/geometry.h"
#include "core/colours.h"
#include "core/map_grid.h"
#include "core/object_kinds.h"
#include "core/messages.h"

namespace veldra {

bool footstepHighPitch = true;

namespace {

constexpr double kTurnPerFrame = 0.05;   // radians
constexpr double kStepPerFrame = 0.12;   // cells
constexpr double kSolidRadius = 0.5;     // cells; closer than this to a solid object blocks
constexpr double kFootstepInterval = 0.6;  // cells
constexpr std::uint16_t kAutoWalkColour = colour::kWhite;

// Pickups are walked onto to be taken; every other object stands in the way.
bool clearOfSolidObjects(const Game& game, double x, double y) {
  for (const MapObject& object : game.mapObjects) {
    if (!isWalkThrough(object.glyph) && withinReach(x, y, object.x, object.y, kSolidRadius)) return false;
  }
  return true;
}

void countFootstep(Game& game) {
  game.footstepAccumulator += kStepPerFrame;
  if (game.footstepAccumulator < kFootstepInterval) return;
  game.footstepAccumulator = 0.0;
  play(game.sound, footstepHighPitch ? sounds::kFootstepHigh : sounds::kFootstepLow);
  footstepHighPitch = !footstepHighPitch;
}

}  // namespace

bool canStandAt(const Game& game, double x, double y) {
  return !blocksAt(game, x, y) && clearOfSolidObjects(game, x, y);
}

void toggleAutoWalk(Game& game) {
  const PlayerCommand& command = game.command;
  const bool down = command.walkToggle;
  const bool press = down && !game.autoWalkKeyHeld;
  game.autoWalkKeyHeld = down;
  if (game.autoWalk && (press || command.keysExact || command.back)) {
    stopAutoWalk(game);
  } else if (press) {
    game.autoWalk = true;
    postMessage(game, "Walking on (Tab or back key stops)", kAutoWalkColour);
  }
}

void stopAutoWalk(Game& game) {
  if (!game.autoWalk) return;
  game.autoWalk = false;
  postMessage(game, "Walking off", kAutoWalkColour);
}

void turnAndMove(Game& game) {
  const PlayerCommand& command = game.command;
  if (command.turnLeft) game.playerAngle -= kTurnPerFrame;
  if (command.turnRight) game.playerAngle += kTurnPerFrame;
  // The pointer resting at the window's edge turns as a held key does; its motion turns by
  // as much as it moved.
  if (command.pointerEdge != 0) game.playerAngle += command.pointerEdge * kTurnPerFrame;
  if (command.mouseTurn != 0.0) game.playerAngle += command.mouseTurn;
  double direction = 0.0;
  if (command.forward || game.autoWalk) direction = 1.0;
  else if (command.back) direction = -1.0;
  else return;
  const double x = game.playerX + direction * kStepPerFrame * std::cos(game.playerAngle);
  const double y = game.playerY + direction * kStepPerFrame * std::sin(game.playerAngle);
  if (!canStandAt(game, x, y)) return;
  countFootstep(game);
  game.playerX = x;
  game.playerY = y;
}

}  // namespace veldra
