#include "player/bindings.h"

#include "core/game.h"
#include "core/key_names.h"
#include "core/presets.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"
#include "platform/pad.h"

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

namespace {

// Which the player touched this frame, the pad or the keyboard and mouse: the HUD names the
// keys of the one used last.
void noteWhatIsUsed(PlayerCommand& command) {
  command.padUsed = platform::padTurn() != 0.0;
  command.keysUsed = platform::mouseTurn() != 0.0;
  for (int key = 0; key < platform::kVirtualKeyCount; ++key) {
    if (!keyDown(key)) continue;
    if (keyIsPadKey(key)) command.padUsed = true;
    else command.keysUsed = true;
  }
}

}  // namespace

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
  command.mouseTurn = platform::mouseTurn() + platform::padTurn();
  command.pointerEdge = platform::pointerAtEdge();
  command.keysExact = platform::keysExact();
  command.walkToggle = !command.keysExact && keyDown(vk::kTab);
  command.pause = keyDown(vk::kP) || keyDown(vk::kPadStart);
  command.quit = keyDown(vk::kEscape) || keyDown(vk::kX) || keyDown(vk::kPadBack);
  command.start = keyDown(vk::kEnter) || keyDown(vk::kPadA);
  command.presetPage = keyDown(vk::kC);
  command.menuUp = keyDown(vk::kUp) || keyDown(vk::kW) || keyDown(vk::kPadUp);
  command.menuDown = keyDown(vk::kDown) || keyDown(vk::kS) || keyDown(vk::kPadDown);
  command.choose = keyDown(vk::kEnter) || keyDown(vk::kSpace) || keyDown(vk::kPadA);
  command.padPresent = platform::padPresent();
  noteWhatIsUsed(command);
  return command;
}

}  // namespace veldra
