#include "player/pickups.h"

#include <algorithm>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "core/geometry.h"
#include "core/map_grid.h"
#include "core/object_kinds.h"
#include "core/spell_facts.h"
#include "player/level_switch.h"
#include "core/messages.h"
#include "core/colours.h"

namespace veldra {
namespace {

constexpr double kPickupReach = 1.0;  // cells, strictly below
constexpr double kPortalReach = 0.8;
constexpr int kLastLevelIndex = kLevelSlots - 1;

constexpr int kHealthGain = 20;
constexpr std::uint16_t kHealthColour = colour::kLightGreen;
constexpr int kInfusedMana = 450;
constexpr std::uint16_t kManaColour = colour::kLightCyan;
constexpr std::uint16_t kPortalFailureColour = colour::kLightRed;


// A taken pickup is remembered by level slot and cell, and leaves the map.
void consume(Game& game, std::size_t index) {
  const MapObject& object = game.mapObjects[index];
  game.consumedPickups.push_back(ConsumedPickup{game.levelIndex, cellIndexOf(object.x), cellIndexOf(object.y)});
  game.mapObjects.erase(game.mapObjects.begin() + static_cast<std::ptrdiff_t>(index));
}

void takeScroll(Game& game, std::size_t index, const SpellKind& spell) {
  // The first scroll teaches, the second upgrades; later ones only say so again.
  if (game.*spell.learned) game.*spell.upgraded = true;
  else game.*spell.learned = true;
  consume(game, index);
  play(game.sound, spell.scrollTaken);
  postMessage(game, std::string(spell.name) + (game.*spell.upgraded ? " spell upgraded!" : " scroll discovered!"),
              spell.messageColour);
}

void toggleManaInfusion(Game& game, std::size_t index) {
  const bool starting = !game.manaInfusion;
  game.manaInfusion = starting;
  game.mpMax = starting ? kManaInfusionCap : kPlainManaCap;
  game.mp = starting ? kInfusedMana : 0;
  consume(game, index);
  play(game.sound, sounds::kManaPickup);
  postMessage(game, starting ? "Mana Infusion! REGEN LIMITED" : "Mana Refactor! REGEN RESTORED", kManaColour);
}

void takeHealth(Game& game, std::size_t index) {
  game.hp = std::min(game.hp + kHealthGain, game.hpMax);
  consume(game, index);
  play(game.sound, sounds::kHealthPickup);
  postMessage(game, "Health Restored (+20 HP)", kHealthColour);
}

// A portal that leads nowhere hums while the player is in reach, and says once per
// approach which file it could not open.
void humAtDeadPortal(Game& game) { play(game.sound, sounds::kLastPortalHum); }

void reportMissingLevel(Game& game, int step) {
  humAtDeadPortal(game);
  if (game.portalFailureReported) return;
  game.portalFailureReported = true;
  const int target = game.levelIndex + step;
  const std::string& file = game.levelFiles[static_cast<std::size_t>(target)];
  postMessage(game, "Cannot open level file '" + file + "'", kPortalFailureColour);
}

// Walks through the portal; false when its level could not be opened.
bool travel(Game& game, int step, bool& deadPortalInReach) {
  if (switchLevel(game, step)) return true;
  reportMissingLevel(game, step);
  deadPortalInReach = true;
  return false;
}

}  // namespace

bool touchMapObjects(Game& game) {
  bool deadPortalInReach = false;
  // From the last object down: the latest object acts first. Of two scrolls of one kind in
  // reach at once, the later one in the level teaches and the earlier one upgrades; a portal
  // that changes the level ends the walk before any earlier object is touched.
  for (std::size_t i = game.mapObjects.size(); i-- > 0;) {
    const MapObject& object = game.mapObjects[i];
    const bool inPickupReach = withinReach(object.x, object.y, game.playerX, game.playerY, kPickupReach);
    const bool inPortalReach = withinReach(object.x, object.y, game.playerX, game.playerY, kPortalReach);
    const ObjectKind* kind = objectKind(object.glyph);
    if (!kind) continue;
    switch (kind->role) {
      case ObjectRole::Scroll:
        if (const SpellKind* scroll = spellOfScroll(object.glyph); scroll && inPickupReach) takeScroll(game, i, *scroll);
        break;
      case ObjectRole::ManaPotion:
        if (inPickupReach) toggleManaInfusion(game, i);
        break;
      case ObjectRole::HealthPickup:
        if (inPickupReach && game.hp < game.hpMax) takeHealth(game, i);
        break;
      case ObjectRole::ForwardPortal:
        if (!inPortalReach) break;
        if (game.levelIndex >= kLastLevelIndex) humAtDeadPortal(game);
        else if (travel(game, +1, deadPortalInReach)) return true;
        break;
      case ObjectRole::BackPortal:
        if (inPortalReach && game.levelIndex > 0 && travel(game, -1, deadPortalInReach)) return true;
        break;
      default: break;
    }
  }
  if (!deadPortalInReach) game.portalFailureReported = false;
  return false;
}

}  // namespace veldra
