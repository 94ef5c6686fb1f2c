#pragma once
// The bindings of both presets, in full: for each action every key that does it (the first
// is the one the binding block holds), the mouse's buttons among them, and the letter that
// stands in for a lone modifier where the keys are not exact. The game starts with the
// defaults; a settings file replaces actions of them.

#include <cstdint>
#include <string_view>

namespace veldra {

// The actions in the binding block's order.
enum class Action : int { Forward, Back, TurnLeft, TurnRight, Staff, Ignis, Glacies, Electrica, Herba };
constexpr int kActionCount = 9;
constexpr int kPresetCount = 2;
constexpr int kPresetA = 0;
constexpr int kPresetB = 1;
constexpr int kMaxKeysPerAction = 8;

struct ActionBinding {
  std::int32_t keys[kMaxKeysPerAction] = {};
  int keyCount = 0;
  std::int32_t standIn = 0;  // kNoKey: none
  bool operator==(const ActionBinding&) const = default;
};

struct PresetBinding {
  ActionBinding actions[kActionCount];
  bool operator==(const PresetBinding&) const = default;
};

struct BindingTable {
  PresetBinding presets[kPresetCount];
  int presetAtStart = kPresetA;
  bool operator==(const BindingTable&) const = default;
};

// Both presets as the game ships them: preset A arrows, Left Ctrl (Right Ctrl too), Space,
// E, Left Alt (Right Alt too), Left Shift; preset B W/A/S/D, Right Shift, Space, Right Alt,
// Right Ctrl, '/'; the left button the staff and the right button forward on both; the
// stand-ins F, Q, R (A) and J, K, L (B); on both, a pad's left stick walks and turns, A is
// the staff, B IGNIS, X GLACIES, Y ELECTRICA and the right shoulder HERBA.
const BindingTable& defaultBindings();

// The settings file's name of an action ("turn-left"), and the action a name names.
std::string_view actionName(Action action);
bool actionNamed(std::string_view name, Action& action);

inline ActionBinding& bindingOf(PresetBinding& preset, Action action) {
  return preset.actions[static_cast<int>(action)];
}
inline const ActionBinding& bindingOf(const PresetBinding& preset, Action action) {
  return preset.actions[static_cast<int>(action)];
}

// Whether one of the action's keys is a lone modifier.
bool bindsLoneModifier(const ActionBinding& binding);

// Whether the action's keys hold the key.
bool bindsKey(const ActionBinding& binding, std::int32_t key);

}  // namespace veldra
