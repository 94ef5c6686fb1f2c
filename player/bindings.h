#pragma once
// Key tests through the binding block, with the two aliases of preset A.

namespace veldra {

struct Game;

// The attack key; while it is Left Ctrl, Right Ctrl counts too.
bool attackKeyDown(const Game& game);

// The ELECTRICA key; while it is Left Alt, Right Alt counts too.
bool electricaKeyDown(const Game& game);

}  // namespace veldra
