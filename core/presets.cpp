#include "core/presets.h"

#include <utility>

#include "core/game.h"

namespace veldra {
namespace {

// The binding block of each preset, in the block's order: forward, backward, turn left,
// turn right, attack, IGNIS, GLACIES, ELECTRICA, HERBA.
constexpr int kBindings = 9;
constexpr int kAttackPlace = 4;
struct Preset {
  int keys[kBindings];
};
constexpr Preset kPresetA{{vk::kUp, vk::kDown, vk::kLeft, vk::kRight, vk::kLeftControl, vk::kSpace, vk::kE,
                           vk::kLeftAlt, vk::kLeftShift}};
constexpr Preset kPresetB{{vk::kW, vk::kS, vk::kA, vk::kD, vk::kRightShift, vk::kSpace, vk::kRightAlt,
                           vk::kRightControl, vk::kSlash}};

// The members the block's places are written to.
constexpr std::int32_t Game::*kBindingBlock[kBindings] = {&Game::keyForward,  &Game::keyBackward, &Game::keyTurnLeft,
                                                  &Game::keyTurnRight, &Game::keyAttack, &Game::keyIgnis,
                                                  &Game::keyGlacies,  &Game::keyElectrica, &Game::keyHerba};

// Lone modifiers the legacy keys cannot show, and the letters that stand in for them.
constexpr std::pair<int, int> kStandIns[] = {
    {vk::kLeftControl, vk::kF}, {vk::kLeftAlt, vk::kQ},      {vk::kLeftShift, vk::kR},
    {vk::kRightShift, vk::kJ},  {vk::kRightControl, vk::kK}, {vk::kRightAlt, vk::kL},
};

void apply(Game& game, const Preset& preset) {
  for (int i = 0; i < kBindings; ++i) game.*kBindingBlock[i] = preset.keys[i];
}

}  // namespace

void applyPresetA(Game& game) { apply(game, kPresetA); }
void applyPresetB(Game& game) { apply(game, kPresetB); }

bool presetBActive(const Game& game) { return game.keyAttack == kPresetB.keys[kAttackPlace]; }

int standInFor(int boundKey) {
  for (const auto& [key, standIn] : kStandIns) {
    if (key == boundKey) return standIn;
  }
  return kNoStandIn;
}

}  // namespace veldra
