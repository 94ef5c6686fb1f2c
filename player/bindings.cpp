#include "player/bindings.h"

#include "core/game.h"
#include "core/presets.h"
#include "platform/keyboard.h"

namespace veldra {

bool bindingDown(int boundKey) {
  if (keyDown(boundKey)) return true;
  if (platform::keysExact()) return false;
  const int standIn = standInFor(boundKey);
  return standIn != kNoStandIn && keyDown(standIn);
}

bool attackKeyDown(const Game& game) {
  return bindingDown(game.keyAttack) || (game.keyAttack == vk::kLeftControl && keyDown(vk::kRightControl)) ||
         keyDown(vk::kLeftButton);
}

bool forwardKeyDown(const Game& game) { return keyDown(game.keyForward) || keyDown(vk::kRightButton); }

bool electricaKeyDown(const Game& game) {
  return bindingDown(game.keyElectrica) || (game.keyElectrica == vk::kLeftAlt && keyDown(vk::kRightAlt));
}

}  // namespace veldra
