#include "core/presets.h"

#include "core/game.h"

namespace veldra {

void applyPresetA(Game& game) {
  game.keyForward = vk::kUp;
  game.keyBackward = vk::kDown;
  game.keyTurnLeft = vk::kLeft;
  game.keyTurnRight = vk::kRight;
  game.keyAttack = vk::kLeftControl;
  game.keyIgnis = vk::kSpace;
  game.keyGlacies = vk::kE;
  game.keyElectrica = vk::kLeftAlt;
  game.keyHerba = vk::kLeftShift;
}

void applyPresetB(Game& game) {
  game.keyForward = vk::kW;
  game.keyBackward = vk::kS;
  game.keyTurnLeft = vk::kA;
  game.keyTurnRight = vk::kD;
  game.keyAttack = vk::kRightShift;
  game.keyIgnis = vk::kSpace;
  game.keyGlacies = vk::kRightAlt;
  game.keyElectrica = vk::kRightControl;
  game.keyHerba = vk::kSlash;
}

bool presetBActive(const Game& game) { return game.keyAttack == vk::kRightShift; }

int standInFor(int boundKey) {
  switch (boundKey) {
    case vk::kLeftControl: return vk::kF;
    case vk::kLeftAlt: return vk::kQ;
    case vk::kLeftShift: return vk::kR;
    case vk::kRightShift: return vk::kJ;
    case vk::kRightControl: return vk::kK;
    case vk::kRightAlt: return vk::kL;
  }
  return kNoStandIn;
}

}  // namespace veldra
