#include "player/movement.h"

#include <cmath>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/geometry.h"
#include "core/map_grid.h"
#include "core/object_kinds.h"
#include "platform/keyboard.h"

namespace veldra {

bool footstepHighPitch = true;

namespace {

constexpr double kTurnPerFrame = 0.05;   // radians
constexpr double kStepPerFrame = 0.12;   // cells
constexpr double kSolidRadius = 0.5;     // cells; closer than this to a solid object blocks
constexpr double kFootstepInterval = 0.6;  // cells

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

void turnAndMove(Game& game) {
  if (keyDown(game.keyTurnLeft)) game.playerAngle -= kTurnPerFrame;
  if (keyDown(game.keyTurnRight)) game.playerAngle += kTurnPerFrame;
  double direction = 0.0;
  if (keyDown(game.keyForward)) direction = 1.0;
  else if (keyDown(game.keyBackward)) direction = -1.0;
  else return;
  const double x = game.playerX + direction * kStepPerFrame * std::cos(game.playerAngle);
  const double y = game.playerY + direction * kStepPerFrame * std::sin(game.playerAngle);
  if (!canStandAt(game, x, y)) return;
  countFootstep(game);
  game.playerX = x;
  game.playerY = y;
}

}  // namespace veldra
