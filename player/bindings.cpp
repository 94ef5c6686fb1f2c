#include "player/bindings.h"

#include "core/game.h"
#include "core/key_names.h"
#include "core/presets.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"

namespace veldra {

bool actionDown(const Game& game, Action action) {
  const ActionBinding binding = actionBinding(game, action);
  for (int k = 0; k < binding.keyCount; ++k) {
    if (keyDown(binding.keys[k])) return true;
  }
  return binding.standIn != kNoKey && !platform::keysExact() && keyDown(binding.standIn);
}

bool attackKeyDown(const Game& game) { return actionDown(game, Action::Staff); }

bool electricaKeyDown(const Game& game) { return actionDown(game, Action::Electrica); }

PlayerCommand readPlayerCommand(const Game& game) {
  PlayerCommand command;
  command.forward = actionDown(game, Action::Forward);
  command.back = actionDown(game, Action::Back);
  command.turnLeft = actionDown(game, Action::TurnLeft);
  command.turnRight = actionDown(game, Action::TurnRight);
  command.staff = actionDown(game, Action::Staff);
  command.ignis = actionDown(game, Action::Ignis);
  command.glacies = actionDown(game, Action::Glacies);
  command.electrica = actionDown(game, Action::Electrica);
  command.herba = actionDown(game, Action::Herba);
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
