#include "frontend/preset_label.h"

#include <array>
#include <vector>

#include "core/key_names.h"
#include "platform/keyboard.h"

namespace veldra {
namespace {

constexpr std::array<const char*, kPresetCount> kPresetTitles = {" PRESET A: Retro Classic", " PRESET B: WASD Modern RPG"};

// The two sides of each modifier: bound together they are named as one ("Ctrl").
struct ModifierPair {
  std::int32_t left;
  std::int32_t right;
  const char* name;
};
constexpr ModifierPair kModifierPairs[] = {{vk::kLeftShift, vk::kRightShift, "Shift"},
                                           {vk::kLeftControl, vk::kRightControl, "Ctrl"},
                                           {vk::kLeftAlt, vk::kRightAlt, "Alt"}};

std::vector<std::int32_t> keyboardKeys(const ActionBinding& binding) {
  std::vector<std::int32_t> keys;
  for (int k = 0; k < binding.keyCount; ++k) {
    if (!keyIsMouseButton(binding.keys[k]) && !keyIsPadKey(binding.keys[k])) keys.push_back(binding.keys[k]);
  }
  if (keys.empty() && binding.keyCount > 0) keys.push_back(binding.keys[0]);  // the mouse or the pad alone
  return keys;
}

std::string actionLabel(const ActionBinding& binding) {
  const std::vector<std::int32_t> keys = keyboardKeys(binding);
  if (keys.empty()) return "-";
  for (const ModifierPair& pair : kModifierPairs) {
    if (keys.size() == 2 && ((keys[0] == pair.left && keys[1] == pair.right) ||
                             (keys[0] == pair.right && keys[1] == pair.left))) {
      return pair.name;
    }
  }
  return shortKeyName(keys[0]);
}

// Forward, turn left, back, turn right, as a hand lies on them: "Arrows", "WASD", "ZQSD".
std::string movementLabel(const PresetBinding& binding) {
  const Action order[] = {Action::Forward, Action::TurnLeft, Action::Back, Action::TurnRight};
  const std::int32_t arrows[] = {vk::kUp, vk::kLeft, vk::kDown, vk::kRight};
  std::vector<std::string> names;
  bool allArrows = true;
  bool allSingle = true;
  for (int i = 0; i < 4; ++i) {
    const std::vector<std::int32_t> keys = keyboardKeys(bindingOf(binding, order[i]));
    const std::int32_t key = keys.empty() ? kNoKey : keys[0];
    allArrows = allArrows && key == arrows[i];
    names.push_back(key == kNoKey ? "-" : shortKeyName(key));
    allSingle = allSingle && names.back().size() == 1;
  }
  if (allArrows) return "Arrows";
  std::string label;
  for (const std::string& name : names) {
    if (!label.empty() && !allSingle) label += "/";
    label += name;
  }
  return label;
}

}  // namespace

std::string presetLabel(int preset, const PresetBinding& binding) {
  return std::string(kPresetTitles[static_cast<std::size_t>(preset)]) + " (" + movementLabel(binding) + ", " +
         actionLabel(bindingOf(binding, Action::Staff)) + ", " + actionLabel(bindingOf(binding, Action::Ignis)) + ", " +
         actionLabel(bindingOf(binding, Action::Glacies)) + ", " +
         actionLabel(bindingOf(binding, Action::Electrica)) + ")";
}

}  // namespace veldra
