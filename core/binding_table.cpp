#include "core/binding_table.h"

#include <algorithm>

#include "core/key_names.h"
#include "platform/keyboard.h"

namespace veldra {
namespace {

constexpr std::string_view kActionNames[kActionCount] = {"forward", "back",    "turn-left", "turn-right", "staff",
                                                         "ignis",   "glacies", "electrica", "herba"};

// The spells on a pad, by the colours of an Xbox pad's face buttons: fire on the red B, the
// ice shield on the blue X, lightning on the yellow Y, the healing spray on the right
// shoulder. The staff is A, the left stick walks and turns.
constexpr std::int32_t kIgnisPad = vk::kPadB;
constexpr std::int32_t kGlaciesPad = vk::kPadX;
constexpr std::int32_t kElectricaPad = vk::kPadY;
constexpr std::int32_t kHerbaPad = vk::kPadRightShoulder;

ActionBinding keys(std::initializer_list<std::int32_t> list, std::int32_t standIn = 0) {
  ActionBinding binding;
  for (const std::int32_t key : list) binding.keys[binding.keyCount++] = key;
  binding.standIn = standIn;
  return binding;
}

BindingTable makeDefaults() {
  BindingTable table;
  table.presets[kPresetA] = PresetBinding{{
      keys({vk::kUp, vk::kRightButton, vk::kPadLeftStickUp}),
      keys({vk::kDown, vk::kPadLeftStickDown}),
      keys({vk::kLeft, vk::kPadLeftStickLeft}),
      keys({vk::kRight, vk::kPadLeftStickRight}),
      keys({vk::kLeftControl, vk::kRightControl, vk::kLeftButton, vk::kPadA}, vk::kF),
      keys({vk::kSpace, kIgnisPad}),
      keys({vk::kE, kGlaciesPad}),
      keys({vk::kLeftAlt, vk::kRightAlt, kElectricaPad}, vk::kQ),
      keys({vk::kLeftShift, kHerbaPad}, vk::kR),
  }};
  table.presets[kPresetB] = PresetBinding{{
      keys({vk::kW, vk::kRightButton, vk::kPadLeftStickUp}),
      keys({vk::kS, vk::kPadLeftStickDown}),
      keys({vk::kA, vk::kPadLeftStickLeft}),
      keys({vk::kD, vk::kPadLeftStickRight}),
      keys({vk::kRightShift, vk::kLeftButton, vk::kPadA}, vk::kJ),
      keys({vk::kSpace, kIgnisPad}),
      keys({vk::kRightAlt, kGlaciesPad}, vk::kL),
      keys({vk::kRightControl, kElectricaPad}, vk::kK),
      keys({vk::kSlash, kHerbaPad}),
  }};
  return table;
}

}  // namespace

const BindingTable& defaultBindings() {
  static const BindingTable defaults = makeDefaults();
  return defaults;
}

std::string_view actionName(Action action) { return kActionNames[static_cast<int>(action)]; }

bool actionNamed(std::string_view name, Action& action) {
  for (int i = 0; i < kActionCount; ++i) {
    if (kActionNames[i] == name) {
      action = static_cast<Action>(i);
      return true;
    }
  }
  return false;
}

bool bindsLoneModifier(const ActionBinding& binding) {
  return std::any_of(binding.keys, binding.keys + binding.keyCount, keyIsLoneModifier);
}

bool bindsKey(const ActionBinding& binding, std::int32_t key) {
  return std::find(binding.keys, binding.keys + binding.keyCount, key) != binding.keys + binding.keyCount;
}

}  // namespace veldra
