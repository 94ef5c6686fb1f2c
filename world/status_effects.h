#pragma once
// The counters the world update runs for the player: the staff's swing, mana regeneration
// and the GLACIES shield's time.

namespace veldra {

struct Game;

// Step 3: a running swing moves on one picture and ends after the fourth.
void advanceAttackAnimation(Game& game);

// Step 5: one mana point every 3 frames below the cap (every 20 under the infusion); an
// upgraded, running shield heals a point of health on each of those ticks.
void regenerateMana(Game& game);

// Step 9: the shield's aura while it runs, and its end with a message, a burst and a tone.
void tickGlacies(Game& game);

}  // namespace veldra
