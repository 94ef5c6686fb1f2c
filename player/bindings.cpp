#include "player/bindings.h"

#include "core/game.h"
#include "platform/keyboard.h"

namespace veldra {

bool attackKeyDown(const Game& game) {
  return keyDown(game.keyAttack) || (game.keyAttack == vk::kLeftControl && keyDown(vk::kRightControl));
}

bool electricaKeyDown(const Game& game) {
  return keyDown(game.keyElectrica) || (game.keyElectrica == vk::kLeftAlt && keyDown(vk::kRightAlt));
}

}  // namespace veldra
