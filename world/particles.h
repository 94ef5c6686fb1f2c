#pragma once
// Particles: how the emitters make them, and the particle step of the world update.

#include <cstdint>
#include <vector>

#include "core/records.h"
#include "core/colours.h"

namespace veldra {

struct Game;

// Colours with a role: HERBA's spray (in HERBA's colour) is used up on the first enemy it
// reaches, and its one wounding particle also hurts that enemy. Every other colour only
// fades.
constexpr std::uint16_t kHerbaWoundColour = colour::kGreen;
constexpr std::uint16_t kFadingColour = colour::kLightBlue;
constexpr std::uint16_t kFadedColour = colour::kBlue;

// Permanent emitters (fire, aura) stay silent while this many particles exist.
constexpr std::size_t kParticleCap = 120;

// A spray of particles scattered around a point: origin offsets first (x, then y), then
// velocity (x, then y), then the life; an emitter with no origin spread draws nothing for
// the origin.
struct Scatter {
  double originSpread;  // cells, the width of the offset square
  double velocitySpread;  // cells per frame
  int lifeBase;         // frames
  int lifeRange;        // frames added: a draw below this
  std::uint16_t colour;
};

// A burst thrown from a point: direction, then speed, then life are drawn for each particle.
// A round burst throws in every direction (2 pi r); otherwise the directions fan out across
// `fan` radians around the burst's own heading.
struct Burst {
  bool allRound;
  double fan;         // radians
  double speedBase;   // cells per frame
  double speedRange;  // cells per frame added: r times this
  int lifeBase;       // frames
  int lifeRange;      // frames added: a draw below this
};

void emitScatter(Game& game, double x, double y, const Scatter& scatter, int count);
void emitBurst(Game& game, double x, double y, double heading, const Burst& burst, std::uint16_t colour,
               int count);

// Step 4 of the world update: every particle moves and ages, HERBA's spray strikes enemies,
// the others fade; spent particles are removed.
void stepParticles(Game& game);

}  // namespace veldra
