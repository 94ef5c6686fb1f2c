#pragma once
// The player's settings: both presets' bindings, the preset bound at start, how letter keys
// are read, the mouse, the pad, the colours and the volume. Read once at start from the settings
// file (veldra.toml), before the terminal is touched; options on the command line override
// the file.

#include <string>
#include <string_view>

#include "audio/audio_engine.h"
#include "core/binding_table.h"
#include "platform/lifetime.h"
#include "platform/mouse.h"
#include "platform/pad.h"

namespace veldra {

struct Settings {
  BindingTable bindings = defaultBindings();
  bool lettersByPosition = false;  // a letter key is the US layout's letter in its place
  platform::MouseLook mouse;
  platform::PadSettings pad;
  platform::Colours colours = platform::Colours::AsTerminalSays;
  int volume = kFullVolume;  // 0 (silent) to 100
};

// Reads settings from the text of a settings file into `settings` (which holds the defaults,
// or what was read before). False on a bad file, with `error` saying, in one line,
// "FILE:LINE: what is wrong, and what is allowed".
bool readSettings(std::string_view text, const std::string& fileName, Settings& settings, std::string& error);

// The settings as a complete, commented settings file; read back it gives the same settings.
std::string printSettings(const Settings& settings);

}  // namespace veldra
