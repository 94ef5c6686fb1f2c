#include "core/binding_table.h"

#include <algorithm>

#include "core/key_names.h"
#include "platform/keyboard.h"

namespace veldra {
namespace {

constexpr std::string_view kActionNames[kActionCount] = {"forward", "back",    "turn-left", "turn-right", "staff",
                                                         "ignis",   "glacies", "electrica", "herba"};

ActionBinding keys(std::initializer_list<std::int32_t> list, std::int32_t standIn = 0) {
  ActionBinding binding;
  for (const std::int32_t key : list) binding.keys[binding.keyCount++] = key;
  binding.standIn = standIn;
  return binding;
}

BindingTable makeDefaults() {
  BindingTable table;
  table.presets[kPresetA] = PresetBinding{{
      keys({vk::kUp, vk::kRightButton}),
      keys({vk::kDown}),
      keys({vk::kLeft}),
      keys({vk::kRight}),
      keys({vk::kLeftControl, vk::kRightControl, vk::kLeftButton}, vk::kF),
      keys({vk::kSpace}),
      keys({vk::kE}),
      keys({vk::kLeftAlt, vk::kRightAlt}, vk::kQ),
      keys({vk::kLeftShift}, vk::kR),
  }};
  table.presets[kPresetB] = PresetBinding{{
      keys({vk::kW, vk::kRightButton}),
      keys({vk::kS}),
      keys({vk::kA}),
      keys({vk::kD}),
      keys({vk::kRightShift, vk::kLeftButton}, vk::kJ),
      keys({vk::kSpace}),
      keys({vk::kRightAlt}, vk::kL),
      keys({vk::kRightControl}, vk::kK),
      keys({vk::kSlash}),
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
