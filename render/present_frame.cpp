#include "render/present_frame.h"

#include <algorithm>

#include "core/game.h"
#include "platform/console.h"
#include "core/key_names.h"
#include "core/presets.h"
#include "platform/keyboard.h"
#include "render/sprites.h"

namespace veldra {
namespace {

constexpr int kFirstMessageRow = 8;
constexpr int kMessageColumn = 2;
constexpr std::size_t kMessageWidth = 40;
constexpr int kDefaultConsoleRows = 25;
constexpr int kMaxConsoleRows = 50;

void printMessages(Game& game) {
  const std::size_t shown = messagesShown(game);
  for (std::size_t k = 0; k < shown; ++k) {
    const int row = kFirstMessageRow + static_cast<int>(k);
    const HudMessage& message = game.messages[k];
    platform::setConsoleCursorPosition(game.screen.output, kMessageColumn, row);
    platform::setConsoleTextAttribute(game.screen.output, message.colour);
    std::string& line = game.screen.messageLine;
    line.assign(message.text);
    if (line.size() < kMessageWidth) line.resize(kMessageWidth, ' ');
    platform::writeConsoleText(game.screen.output, line);
  }
  platform::setConsoleCursorPosition(game.screen.output, 0, 0);
}

}  // namespace

std::size_t messagesShown(const Game& game) {
  int columns = 0;
  int rows = kDefaultConsoleRows;
  if (platform::consoleWindowSize(game.screen.output, columns, rows)) rows = std::min(rows, kMaxConsoleRows);
  else rows = kDefaultConsoleRows;
  const int fit = std::max(rows - kFirstMessageRow, 0);
  return std::min(game.messages.size(), static_cast<std::size_t>(fit));
}

namespace {

// The HUD names a spell by the first key of its action in the preset whose names it shows;
// where the keys are not exact, by the letter standing in for the key that works; while a
// pad was used last, by the action's first button of the pad.
std::string_view boundKeyName(const Game& game, int preset, Action action) {
  if (game.padLastUsed) {
    const ActionBinding binding = actionBinding(game, action);
    for (int k = 0; k < binding.keyCount; ++k) {
      if (keyIsPadKey(binding.keys[k])) return keyName(binding.keys[k]);
    }
  }
  const std::int32_t standIn = actionBinding(game, action).standIn;
  if (standIn != kNoKey && !platform::keysExact()) return keyName(standIn);
  const ActionBinding& binding = bindingOf(game.bindings.presets[preset], action);
  return keyName(binding.keyCount > 0 ? binding.keys[0] : kNoKey);
}

}  // namespace

KeyNames chooseKeyNames(const Game& game) {
  const int preset = presetForKeyNames(game);
  return KeyNames{boundKeyName(game, preset, Action::Ignis), boundKeyName(game, preset, Action::Electrica),
                  boundKeyName(game, preset, Action::Glacies), boundKeyName(game, preset, Action::Herba)};
}

void presentFrame(Game& game) {
  buildSpriteList(game, game.screen.sprites);
  const KeyNames keyNames = chooseKeyNames(game);
  renderFrameReusing(game.screen, game, game.screen.sprites, keyNames);
  printMessages(game);
}

}  // namespace veldra
