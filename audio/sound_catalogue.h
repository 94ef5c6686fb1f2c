#pragma once
// Every sound the game makes, by name: one gliding tone each (start Hz, end Hz, seconds,
// volume). Game code plays these rather than repeating the numbers.

#include "audio/sound_client.h"

namespace veldra {

struct SoundRequest {
  double startHz;
  double endHz;
  double seconds;
  double volume;
};

namespace sounds {
inline constexpr SoundRequest kPauseToggle{400, 200, 0.10, 0.15};
inline constexpr SoundRequest kTitleStart{200, 800, 0.25, 0.20};
inline constexpr SoundRequest kPresetPageOpen{300, 450, 0.08, 0.15};
inline constexpr SoundRequest kMenuUp{450, 400, 0.04, 0.10};
inline constexpr SoundRequest kMenuDown{400, 450, 0.04, 0.10};
inline constexpr SoundRequest kPresetChosen{250, 750, 0.20, 0.18};
inline constexpr SoundRequest kMenuBack{500, 250, 0.12, 0.15};
inline constexpr SoundRequest kFootstepHigh{155, 45, 0.06, 0.05};
inline constexpr SoundRequest kFootstepLow{75, 40, 0.06, 0.05};
inline constexpr SoundRequest kStaffHitsEnemy{400, 80, 0.08, 0.25};
inline constexpr SoundRequest kEnemyDies{90, 30, 0.35, 0.55};
inline constexpr SoundRequest kStaffStrikes{220, 60, 0.05, 0.30};
inline constexpr SoundRequest kStaffMisses{450, 120, 0.08, 0.12};
inline constexpr SoundRequest kIgnisScroll{200, 6, 0.18, 0.25};
inline constexpr SoundRequest kGlaciesScroll{400, 800, 0.22, 0.25};
inline constexpr SoundRequest kElectricaScroll{500, 1200, 0.15, 0.20};
inline constexpr SoundRequest kHerbaScroll{500, 1200, 0.15, 0.20};
inline constexpr SoundRequest kManaPickup{300, 1200, 0.25, 0.15};
inline constexpr SoundRequest kHealthPickup{260, 520, 0.20, 0.15};
inline constexpr SoundRequest kLastPortalHum{150, 150, 0.50, 0.50};
inline constexpr SoundRequest kPortalForward{100, 900, 0.40, 0.30};
inline constexpr SoundRequest kPortalBack{900, 100, 0.40, 0.30};
inline constexpr SoundRequest kIgnisCast{300, 900, 0.18, 0.15};
inline constexpr SoundRequest kElectricaCast{800, 200, 0.10, 0.20};
inline constexpr SoundRequest kGlaciesActivated{600, 1500, 0.25, 0.20};
inline constexpr SoundRequest kGlaciesBoost{300, 1200, 0.25, 0.20};
inline constexpr SoundRequest kHerbaCast{150, 850, 0.12, 0.22};
inline constexpr SoundRequest kFizzle{200, 25, 0.05, 0.18};
inline constexpr SoundRequest kHerbaWounds{600, 350, 0.04, 0.08};
inline constexpr SoundRequest kShieldBlocks{800, 400, 0.08, 0.15};
inline constexpr SoundRequest kHurt{140, 30, 0.15, 0.50};
inline constexpr SoundRequest kBoltHitsWall{170, 50, 0.15, 0.40};
inline constexpr SoundRequest kElectricaHit{880, 220, 0.06, 0.15};
inline constexpr SoundRequest kIgnisHit{300, 60, 0.12, 0.30};
inline constexpr SoundRequest kGlaciesExpires{400, 100, 0.10, 0.45};
inline constexpr SoundRequest kObjectShatters{350, 45, 0.20, 0.25};

// The outdoor chirp: a random pitch that falls to a tenth of itself.
constexpr SoundRequest ambientChirp(double frequencyHz) { return {frequencyHz, 0.1 * frequencyHz, 0.015, 0.02}; }
}  // namespace sounds

inline void play(SoundClient& client, const SoundRequest& request) {
  playSound(client, request.startHz, request.endHz, request.seconds, request.volume);
}

}  // namespace veldra
