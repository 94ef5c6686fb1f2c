#include <toml++/toml.h>

#include <algorithm>
#include <array>
#include <optional>

#include "core/key_names.h"
#include "program/settings.h"

namespace veldra {
namespace {

constexpr std::array<std::string_view, kPresetCount> kPresetTables = {"preset-a", "preset-b"};
constexpr std::string_view kStandInSuffix = "-stand-in";
constexpr const char* kTables = "[preset-a], [preset-b], [keyboard], [mouse], [pad], [display] and [sound]";
constexpr const char* kActions =
    "forward, back, turn-left, turn-right, staff, ignis, glacies, electrica and herba, each also with -stand-in "
    "(staff-stand-in)";
constexpr const char* kFixedKeys = "P and Pad Start pause, Esc, X and Pad Back quit and Tab walks";

// The first problem of a file by its line: each check says what it finds, the earliest line
// is the one told.
class Problems {
 public:
  void note(std::int64_t line, std::string what) {
    if (!first_ || line < first_->first) first_ = std::make_pair(line, std::move(what));
  }
  bool any() const { return first_.has_value(); }
  std::string line(const std::string& file) const {
    return file + ":" + std::to_string(first_->first) + ": " + first_->second;
  }

 private:
  std::optional<std::pair<std::int64_t, std::string>> first_;
};

std::int64_t lineOf(const toml::node& node) { return static_cast<std::int64_t>(node.source().begin.line); }
std::int64_t lineOf(const toml::key& key) { return static_cast<std::int64_t>(key.source().begin.line); }

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Where each action's keys and stand-in of one preset came from: 0 for the defaults.
struct PresetLines {
  std::int64_t keys[kActionCount] = {};
  std::int64_t standIn[kActionCount] = {};
};

// One key name of an action's list.
std::optional<std::int32_t> readKeyName(const toml::node& node, std::string_view action, Problems& problems) {
  const std::optional<std::string> name = node.value<std::string>();
  if (!name) {
    problems.note(lineOf(node), std::string(action) + " takes a key name or a list of key names, such as \"W\" or [\"Up\", \"W\"]");
    return std::nullopt;
  }
  const std::int32_t key = keyNamed(*name);
  if (key == kNoKey) {
    problems.note(lineOf(node), "unknown key name " + quoted(*name) + "; a key is " + bindableKeyList());
    return std::nullopt;
  }
  if (keyIsFixed(key)) {
    problems.note(lineOf(node), quoted(settingsKeyName(key)) + " cannot be bound (" + kFixedKeys + "); bind another key");
    return std::nullopt;
  }
  return key;
}

void readActionKeys(const toml::node& node, Action action, ActionBinding& binding, Problems& problems) {
  const std::string_view name = actionName(action);
  std::vector<const toml::node*> names;
  if (const toml::array* list = node.as_array()) {
    for (const toml::node& item : *list) names.push_back(&item);
    if (names.empty()) problems.note(lineOf(node), std::string(name) + " needs at least one key");
    if (names.size() > kMaxKeysPerAction) {
      problems.note(lineOf(node), std::string(name) + " takes at most " + std::to_string(kMaxKeysPerAction) + " keys");
      return;
    }
  } else {
    names.push_back(&node);
  }
  ActionBinding read;
  read.standIn = binding.standIn;
  for (const toml::node* item : names) {
    const std::optional<std::int32_t> key = readKeyName(*item, name, problems);
    if (!key) continue;
    if (bindsKey(read, *key)) {
      problems.note(lineOf(*item), quoted(settingsKeyName(*key)) + " is listed twice for " + std::string(name));
      continue;
    }
    read.keys[read.keyCount++] = *key;
  }
  binding = read;
}

void readStandIn(const toml::node& node, Action action, ActionBinding& binding, Problems& problems) {
  const std::optional<std::string> name = node.value<std::string>();
  const std::int32_t key = name && name->size() == 1 ? keyNamed(*name) : kNoKey;
  if (name && name->empty()) {
    binding.standIn = kNoKey;
  } else if (keyIsLetter(key) && !keyIsFixed(key)) {
    binding.standIn = key;
  } else {
    problems.note(lineOf(node), std::string(actionName(action)) +
                                    "-stand-in is one letter A to Z (not P or X), or \"\" for none");
  }
}

// A key does one thing in a preset: no key of two actions, no stand-in that is another
// action's key or stand-in.
void checkOneActionAKey(const PresetBinding& preset, const PresetLines& lines, std::string_view table,
                        Problems& problems) {
  for (int i = 0; i < kActionCount; ++i) {
    for (int j = i + 1; j < kActionCount; ++j) {
      const ActionBinding& a = preset.actions[i];
      const ActionBinding& b = preset.actions[j];
      const std::string both = std::string(actionName(static_cast<Action>(i))) + " and " +
                               std::string(actionName(static_cast<Action>(j))) + " in [" + std::string(table) + "]";
      for (int k = 0; k < a.keyCount; ++k) {
        if (bindsKey(b, a.keys[k])) {
          problems.note(std::max(lines.keys[i], lines.keys[j]),
                        quoted(settingsKeyName(a.keys[k])) + " is bound to both " + both + "; a key does one action");
        }
      }
      const auto standInClash = [&](const ActionBinding& owner, int ownerIndex, const ActionBinding& other,
                                    int otherIndex) {
        if (owner.standIn == kNoKey) return;
        if (bindsKey(other, owner.standIn) || owner.standIn == other.standIn) {
          const std::string ownerName(actionName(static_cast<Action>(ownerIndex)));
          problems.note(std::max({lines.standIn[ownerIndex], lines.keys[otherIndex], lines.standIn[otherIndex]}),
                        "the stand-in " + quoted(settingsKeyName(owner.standIn)) + " of " + ownerName +
                            " is also bound to " + std::string(actionName(static_cast<Action>(otherIndex))) + " in [" +
                            std::string(table) + "]; give " + ownerName + "-stand-in a letter of its own");
        }
      };
      standInClash(a, i, b, j);
      if (a.standIn != b.standIn) standInClash(b, j, a, i);
    }
  }
}

void readPresetTable(const toml::table& table, int preset, Settings& settings, Problems& problems) {
  PresetBinding& binding = settings.bindings.presets[preset];
  PresetLines lines;
  bool standInGiven[kActionCount] = {};
  for (const auto& [key, node] : table) {
    const std::string_view name = key.str();
    Action action{};
    if (actionNamed(name, action)) {
      readActionKeys(node, action, bindingOf(binding, action), problems);
      lines.keys[static_cast<int>(action)] = lineOf(key);
      continue;
    }
    if (name.size() > kStandInSuffix.size() && name.substr(name.size() - kStandInSuffix.size()) == kStandInSuffix &&
        actionNamed(name.substr(0, name.size() - kStandInSuffix.size()), action)) {
      readStandIn(node, action, bindingOf(binding, action), problems);
      lines.standIn[static_cast<int>(action)] = lineOf(key);
      standInGiven[static_cast<int>(action)] = true;
      continue;
    }
    problems.note(lineOf(key), "unknown action '" + std::string(name) + "' in [" + std::string(kPresetTables[preset]) +
                                   "]; the actions are " + kActions);
  }
  // A stand-in serves a lone modifier: new keys without one keep none unless it is given.
  for (int i = 0; i < kActionCount; ++i) {
    if (lines.keys[i] != 0 && !standInGiven[i] && !bindsLoneModifier(binding.actions[i])) {
      binding.actions[i].standIn = kNoKey;
    }
  }
  if (!problems.any()) checkOneActionAKey(binding, lines, kPresetTables[preset], problems);
}

// The settings of the small tables: each names its keys and reads them.
template <typename Read>
void readSmallTable(const toml::table& table, std::string_view tableName, std::string_view holds, Problems& problems,
                    Read read) {
  for (const auto& [key, node] : table) {
    if (!read(key.str(), node)) {
      problems.note(lineOf(key), "unknown setting '" + std::string(key.str()) + "' in [" + std::string(tableName) +
                                     "]; it holds " + std::string(holds));
    }
  }
}

void readKeyboard(const toml::table& table, Settings& settings, Problems& problems) {
  readSmallTable(table, "keyboard", "letters", problems, [&](std::string_view key, const toml::node& node) {
    if (key != "letters") return false;
    const std::optional<std::string> value = node.value<std::string>();
    if (value == "typed" || value == "position") settings.lettersByPosition = *value == "position";
    else problems.note(lineOf(node), "letters is \"typed\" (as the layout types them) or \"position\" (by where the key sits)");
    return true;
  });
}

void readMouse(const toml::table& table, Settings& settings, Problems& problems) {
  readSmallTable(table, "mouse", "enabled and speed", problems, [&](std::string_view key, const toml::node& node) {
    if (key == "enabled") {
      if (const std::optional<bool> on = node.value_exact<bool>()) settings.mouse.on = *on;
      else problems.note(lineOf(node), "enabled is true or false");
      return true;
    }
    if (key != "speed") return false;
    const std::optional<std::int64_t> speed = node.value_exact<std::int64_t>();
    if (speed && *speed >= platform::kSlowestMouseSpeed && *speed <= platform::kFastestMouseSpeed) {
      settings.mouse.speedPercent = static_cast<int>(*speed);
    } else {
      problems.note(lineOf(node), "speed is a whole number of percent from 1 to 1000");
    }
    return true;
  });
}

// A whole number from `lowest` to `highest`, or the problem named.
template <typename Store>
void readWholeNumber(const toml::node& node, std::int64_t lowest, std::int64_t highest, const char* what,
                     Problems& problems, Store store) {
  const std::optional<std::int64_t> value = node.value_exact<std::int64_t>();
  if (value && *value >= lowest && *value <= highest) store(static_cast<int>(*value));
  else problems.note(lineOf(node), what);
}

void readPad(const toml::table& table, Settings& settings, Problems& problems) {
  readSmallTable(table, "pad", "enabled, dead-zone and turn-speed", problems,
                 [&](std::string_view key, const toml::node& node) {
                   if (key == "enabled") {
                     if (const std::optional<bool> on = node.value_exact<bool>()) settings.pad.on = *on;
                     else problems.note(lineOf(node), "enabled is true or false");
                   } else if (key == "dead-zone") {
                     readWholeNumber(node, 0, platform::kLargestPadDeadZone,
                                     "dead-zone is a whole number of percent of a stick's travel, 0 to 90", problems,
                                     [&](int value) { settings.pad.deadZonePercent = value; });
                   } else if (key == "turn-speed") {
                     readWholeNumber(node, platform::kSlowestPadTurn, platform::kFastestPadTurn,
                                     "turn-speed is a whole number of percent of the turn keys' speed, 1 to 1000",
                                     problems, [&](int value) { settings.pad.turnSpeedPercent = value; });
                   } else {
                     return false;
                   }
                   return true;
                 });
}

void readDisplay(const toml::table& table, Settings& settings, Problems& problems) {
  readSmallTable(table, "display", "colours", problems, [&](std::string_view key, const toml::node& node) {
    if (key != "colours") return false;
    const std::optional<std::string> value = node.value<std::string>();
    if (value == "auto") settings.colours = platform::Colours::AsTerminalSays;
    else if (value == "16") settings.colours = platform::Colours::Sixteen;
    else if (value == "256") settings.colours = platform::Colours::Palette256;
    else if (value == "24bit") settings.colours = platform::Colours::TrueColour;
    else problems.note(lineOf(node), "colours is \"auto\" (as the terminal says), \"16\", \"256\" or \"24bit\"");
    return true;
  });
}

void readSound(const toml::table& table, Settings& settings, Problems& problems) {
  readSmallTable(table, "sound", "volume", problems, [&](std::string_view key, const toml::node& node) {
    if (key != "volume") return false;
    const std::optional<std::int64_t> volume = node.value_exact<std::int64_t>();
    if (volume && *volume >= 0 && *volume <= kFullVolume) settings.volume = static_cast<int>(*volume);
    else problems.note(lineOf(node), "volume is a whole number from 0 (silent) to 100 (full)");
    return true;
  });
}

void readTopLevel(const toml::table& root, Settings& settings, Problems& problems) {
  for (const auto& [key, node] : root) {
    const std::string_view name = key.str();
    if (name == "preset") {
      const std::optional<std::string> value = node.value<std::string>();
      if (value == "A" || value == "B") settings.bindings.presetAtStart = *value == "A" ? kPresetA : kPresetB;
      else problems.note(lineOf(node), "preset is \"A\" or \"B\"");
      continue;
    }
    const toml::table* table = node.as_table();
    const auto isTable = [&](std::string_view tableName) { return name == tableName && table != nullptr; };
    if (isTable(kPresetTables[kPresetA])) readPresetTable(*table, kPresetA, settings, problems);
    else if (isTable(kPresetTables[kPresetB])) readPresetTable(*table, kPresetB, settings, problems);
    else if (isTable("keyboard")) readKeyboard(*table, settings, problems);
    else if (isTable("mouse")) readMouse(*table, settings, problems);
    else if (isTable("pad")) readPad(*table, settings, problems);
    else if (isTable("display")) readDisplay(*table, settings, problems);
    else if (isTable("sound")) readSound(*table, settings, problems);
    else if (table != nullptr) problems.note(lineOf(key), "unknown table [" + std::string(name) + "]; the tables are " + kTables);
    else problems.note(lineOf(key), "unknown setting '" + std::string(name) + "'; at the top there is only preset, then the tables " + kTables);
  }
}

}  // namespace

bool readSettings(std::string_view text, const std::string& fileName, Settings& settings, std::string& error) {
  toml::table root;
  try {
    root = toml::parse(text, fileName);
  } catch (const toml::parse_error& bad) {
    error = fileName + ":" + std::to_string(bad.source().begin.line) + ": not TOML: " + std::string(bad.description());
    return false;
  }
  Settings read = settings;
  Problems problems;
  readTopLevel(root, read, problems);
  if (problems.any()) {
    error = problems.line(fileName);
    return false;
  }
  settings = read;
  return true;
}

}  // namespace veldra
