#pragma once

namespace veldra {

struct Game;

// Whether the IGNIS and GLACIES keys were down in the last frame their checks ran.
// Process-wide, alive for the whole run.
extern bool ignisKeyHeld;
extern bool glaciesKeyHeld;

// IGNIS, GLACIES, ELECTRICA and HERBA in that order, each on a new press of its own key.
// A press that casts nothing fizzles.
void castSpells(Game& game);

}  // namespace veldra
