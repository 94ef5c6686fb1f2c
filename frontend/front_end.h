#pragma once
// The title page and the control-preset page, shown once before play.

#include "core/binding_table.h"
#include "core/console_screen.h"

namespace veldra {

struct Game;

constexpr int kTitlePage = 0;
constexpr int kPresetPage = 1;

// Draws one complete front-end frame from the page and cursor, and writes it out; the
// preset page labels the presets by the bindings (the shipped ones when not given).
void drawFrontEnd(ConsoleScreen& screen, int menuPage, int menuCursor);
void drawFrontEnd(ConsoleScreen& screen, int menuPage, int menuCursor, const BindingTable& bindings);

// The front-end branch of the input step: quit, start, open the preset page, move the
// cursor and apply a preset.
void updateFrontEnd(Game& game);

}  // namespace veldra
