#pragma once
// The preset page's label of a preset whose keys a settings file changed: the preset's
// name, then its keys in the shipped labels' order and style (movement, staff, IGNIS,
// GLACIES, ELECTRICA: "Arrows, Ctrl, Space, E, Alt").

#include <string>

#include "core/binding_table.h"

namespace veldra {

std::string presetLabel(int preset, const PresetBinding& binding);

}  // namespace veldra
