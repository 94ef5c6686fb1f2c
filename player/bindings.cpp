#include "player/bindings.h"

#include "core/game.h"
#include "core/presets.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"

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

PlayerCommand readPlayerCommand(const Game& game) {
  PlayerCommand command;
  command.forward = forwardKeyDown(game);
  command.back = keyDown(game.keyBackward);
  command.turnLeft = keyDown(game.keyTurnLeft);
  command.turnRight = keyDown(game.keyTurnRight);
  command.staff = attackKeyDown(game);
  command.ignis = bindingDown(game.keyIgnis);
  command.glacies = bindingDown(game.keyGlacies);
  command.electrica = electricaKeyDown(game);
  command.herba = bindingDown(game.keyHerba);
  command.mouseTurn = platform::mouseTurn();
  command.pointerEdge = platform::pointerAtEdge();
  command.keysExact = platform::keysExact();
  command.walkToggle = !command.keysExact && keyDown(vk::kTab);
  command.pause = keyDown(vk::kP);
  command.quit = keyDown(vk::kEscape) || keyDown(vk::kX);
  command.start = keyDown(vk::kEnter);
  command.presetPage = keyDown(vk::kC);
  command.menuUp = keyDown(vk::kUp) || keyDown(vk::kW);
  command.menuDown = keyDown(vk::kDown) || keyDown(vk::kS);
  command.choose = keyDown(vk::kEnter) || keyDown(vk::kSpace);
  return command;
}

}  // namespace veldra
