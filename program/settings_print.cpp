#include <array>

#include "core/key_names.h"
#include "program/settings.h"

namespace veldra {
namespace {

constexpr const char* kHeading =
    "# Veldra's settings, read at start from $XDG_CONFIG_HOME/veldra/veldra.toml (else\n"
    "# ~/.config/veldra/veldra.toml; on Windows %APPDATA%\\Veldra\\veldra.toml), or from the file\n"
    "# given with --config FILE. Options on the command line override what is here.\n"
    "\n"
    "# The preset bound at start, \"A\" or \"B\"; the preset page offers both.\n";

constexpr const char* kPresetHelp =
    "# Each action takes a key name or a list of them: a letter, a digit, Up, Down, Left, Right,\n"
    "# Space, Enter, Backspace, Left Shift, Right Shift, Left Ctrl, Right Ctrl, Left Alt, Right Alt,\n"
    "# one of ; = , - . / ` [ \\ ] ' (as the US layout places them), Mouse Left, Mouse Right, or a\n"
    "# pad's Pad A, Pad B, Pad X, Pad Y, Pad Left Shoulder, Pad Right Shoulder, Pad Left Trigger,\n"
    "# Pad Right Trigger, Pad Up, Pad Down, Pad Left, Pad Right (the D-pad), Pad Left Stick, Pad\n"
    "# Right Stick (pressed in), Pad Left Stick Up, Down, Left or Right. A key does one action of\n"
    "# a preset; P, Esc, X, Tab, Pad Start and Pad Back (pause, quit, walk) are never bound.\n"
    "# Where the terminal sends only the characters keys type, a lone Shift, Ctrl or Alt is never\n"
    "# seen: the letter of the action's -stand-in works in its place (\"\" for none).\n\n";

constexpr std::array<const char*, kPresetCount> kPresetHeadings = {"# Preset A: Retro Classic.\n[preset-a]\n",
                                                                   "# Preset B: WASD Modern RPG.\n[preset-b]\n"};

constexpr const char* kKeyboardHelp =
    "[keyboard]\n"
    "# \"typed\": a letter key is the letter the keyboard's layout types. \"position\": a letter key\n"
    "# is the US layout's letter in its place, so W/A/S/D are the same four keys on AZERTY,\n"
    "# QWERTZ or Dvorak. The place is known in kitty's keyboard protocol, win32-input-mode, under\n"
    "# the X server and in the Windows console; a terminal that sends only the characters keys\n"
    "# type says nothing of places, and there letters are read as typed.\n";

constexpr const char* kMouseHelp =
    "[mouse]\n"
    "# enabled = false leaves the mouse to the terminal (--no-mouse); speed is how fast moving it\n"
    "# sideways turns the view, in percent of the usual, 1 to 1000 (--mouse-speed N).\n";

constexpr const char* kPadHelp =
    "[pad]\n"
    "# A gamepad (any that SDL knows on Linux, XInput's on Windows): enabled = false ignores it;\n"
    "# dead-zone is how far a stick moves before it counts, in percent of its travel (0 to 90);\n"
    "# turn-speed is how fast the right stick turns the view at full deflection, in percent of\n"
    "# the turn keys' speed (1 to 1000). Its Start pauses and its Back quits, never bound.\n";

constexpr const char* kDisplayHelp =
    "[display]\n"
    "# \"auto\" sends colours as the terminal's environment asks; \"16\", \"256\" or \"24bit\" say\n"
    "# which (--colours).\n";

constexpr const char* kSoundHelp =
    "[sound]\n"
    "# The sound's volume, 0 (silent) to 100 (full) (--volume N).\n";

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string keyList(const ActionBinding& binding) {
  if (binding.keyCount == 1) return quoted(settingsKeyName(binding.keys[0]));
  std::string list = "[";
  for (int k = 0; k < binding.keyCount; ++k) list += (k > 0 ? ", " : "") + quoted(settingsKeyName(binding.keys[k]));
  return list + "]";
}

std::string presetTable(int preset, const PresetBinding& binding) {
  std::string out = kPresetHeadings[static_cast<std::size_t>(preset)];
  for (int i = 0; i < kActionCount; ++i) {
    const ActionBinding& action = binding.actions[i];
    const std::string name(actionName(static_cast<Action>(i)));
    out += name + " = " + keyList(action) + "\n";
    if (action.standIn != kNoKey || bindsLoneModifier(action)) {
      out += name + "-stand-in = " + quoted(action.standIn != kNoKey ? keyName(action.standIn) : "") + "\n";
    }
  }
  return out + "\n";
}

const char* colourName(platform::Colours colours) {
  switch (colours) {
    case platform::Colours::Sixteen: return "16";
    case platform::Colours::Palette256: return "256";
    case platform::Colours::TrueColour: return "24bit";
    case platform::Colours::AsTerminalSays: break;
  }
  return "auto";
}

}  // namespace

std::string printSettings(const Settings& settings) {
  std::string out = kHeading;
  out += std::string("preset = ") + (settings.bindings.presetAtStart == kPresetB ? "\"B\"" : "\"A\"") + "\n\n";
  out += kPresetHelp;
  for (int preset = 0; preset < kPresetCount; ++preset) out += presetTable(preset, settings.bindings.presets[preset]);
  out += kKeyboardHelp;
  out += std::string("letters = ") + (settings.lettersByPosition ? "\"position\"" : "\"typed\"") + "\n\n";
  out += kMouseHelp;
  out += std::string("enabled = ") + (settings.mouse.on ? "true" : "false") + "\n";
  out += "speed = " + std::to_string(settings.mouse.speedPercent) + "\n\n";
  out += kPadHelp;
  out += std::string("enabled = ") + (settings.pad.on ? "true" : "false") + "\n";
  out += "dead-zone = " + std::to_string(settings.pad.deadZonePercent) + "\n";
  out += "turn-speed = " + std::to_string(settings.pad.turnSpeedPercent) + "\n\n";
  out += kDisplayHelp;
  out += std::string("colours = \"") + colourName(settings.colours) + "\"\n\n";
  out += kSoundHelp;
  out += "volume = " + std::to_string(settings.volume) + "\n";
  return out;
}

}  // namespace veldra
