#pragma once
// Spell bolts: what a bolt is from its speed, its flight, and its hits on enemies.

#include <cstdint>

#include "audio/sound_catalogue.h"
#include "core/records.h"
#include "core/spell_facts.h"

namespace veldra {

struct Game;

// Damage to an enemy, doubled by the spell's upgrade.
int boltDamage(const Game& game, BoltClass spell);
// The hit tone, or nothing (HERBA).
const SoundRequest* boltHitSound(BoltClass spell);
// The colour of the sparks a bolt trails.
std::uint16_t trailColour(const Projectile& bolt);

// Step 7 of the world update: every bolt moves; one that enters a wall, leaves the grid or
// shatters a breakable object bursts and is gone; the rest may leave a spark behind.
void flyProjectiles(Game& game);

// Every bolt within reach of the enemy (by its index) hits it and is used up, even when an
// earlier one of the same frame has already killed it.
void applyBoltHits(Game& game, std::size_t enemyIndex);

}  // namespace veldra
