#include "core/presets.h"

#include "core/game.h"
#include "core/key_names.h"

namespace veldra {
namespace {

// The members the block's places are written to, in the actions' order.
constexpr std::int32_t Game::*kBindingBlock[kActionCount] = {
    &Game::keyForward, &Game::keyBackward, &Game::keyTurnLeft,  &Game::keyTurnRight, &Game::keyAttack,
    &Game::keyIgnis,   &Game::keyGlacies,  &Game::keyElectrica, &Game::keyHerba};

std::int32_t firstKey(const ActionBinding& binding) { return binding.keyCount > 0 ? binding.keys[0] : kNoKey; }

// The stand-in the shipped presets give a key wherever it is bound first.
std::int32_t shippedStandIn(std::int32_t key) {
  for (const PresetBinding& preset : defaultBindings().presets) {
    for (const ActionBinding& binding : preset.actions) {
      if (firstKey(binding) == key && binding.standIn != kNoKey) return binding.standIn;
    }
  }
  return kNoKey;
}

}  // namespace

void applyPreset(Game& game, int preset) {
  for (int i = 0; i < kActionCount; ++i) game.*kBindingBlock[i] = firstKey(game.bindings.presets[preset].actions[i]);
  game.presetInForce = preset;
}

void applyPresetA(Game& game) { applyPreset(game, kPresetA); }
void applyPresetB(Game& game) { applyPreset(game, kPresetB); }

void useBindings(Game& game, const BindingTable& table) {
  game.bindings = table;
  applyPreset(game, table.presetAtStart);
}

std::int32_t boundKey(const Game& game, Action action) { return game.*kBindingBlock[static_cast<int>(action)]; }

ActionBinding actionBinding(const Game& game, Action action) {
  const std::int32_t member = boundKey(game, action);
  const int inForce = game.presetInForce;
  for (const int preset : {inForce, kPresetCount - 1 - inForce}) {
    const ActionBinding& binding = bindingOf(game.bindings.presets[preset], action);
    if (firstKey(binding) == member) return binding;
  }
  for (const PresetBinding& preset : defaultBindings().presets) {
    if (firstKey(bindingOf(preset, action)) == member) return bindingOf(preset, action);
  }
  ActionBinding written;
  written.keys[written.keyCount++] = member;
  const ActionBinding& inForceBinding = bindingOf(game.bindings.presets[inForce], action);
  for (int k = 0; k < inForceBinding.keyCount; ++k) {
    if (keyIsMouseButton(inForceBinding.keys[k])) written.keys[written.keyCount++] = inForceBinding.keys[k];
  }
  written.standIn = shippedStandIn(member);
  return written;
}

int presetForKeyNames(const Game& game) {
  const std::int32_t staff = game.keyAttack;
  if (firstKey(bindingOf(game.bindings.presets[game.presetInForce], Action::Staff)) == staff) return game.presetInForce;
  return firstKey(bindingOf(game.bindings.presets[kPresetB], Action::Staff)) == staff ? kPresetB : kPresetA;
}

}  // namespace veldra
