#include "render/present_frame.h"

#include <algorithm>

#include "core/game.h"
#include "platform/console.h"
#include "platform/keyboard.h"
#include "core/presets.h"
#include "render/sprites.h"

namespace veldra {
namespace {

constexpr int kFirstMessageRow = 8;
constexpr int kMessageColumn = 2;
constexpr std::size_t kMessageWidth = 40;
constexpr int kDefaultConsoleRows = 25;
constexpr int kMaxConsoleRows = 50;

void printMessages(const Game& game) {
  int columns = 0;
  int rows = kDefaultConsoleRows;
  if (platform::consoleWindowSize(game.screen.output, columns, rows)) rows = std::min(rows, kMaxConsoleRows);
  else rows = kDefaultConsoleRows;
  for (std::size_t k = 0; k < game.messages.size(); ++k) {
    const int row = kFirstMessageRow + static_cast<int>(k);
    if (row >= rows) continue;
    const HudMessage& message = game.messages[k];
    platform::setConsoleCursorPosition(game.screen.output, kMessageColumn, row);
    platform::setConsoleTextAttribute(game.screen.output, message.colour);
    std::string line = message.text;
    if (line.size() < kMessageWidth) line.resize(kMessageWidth, ' ');
    platform::writeConsoleText(game.screen.output, line);
  }
  platform::setConsoleCursorPosition(game.screen.output, 0, 0);
}

}  // namespace

namespace {

// Where the keys are not exact, a binding to a lone modifier names the letter that works.
void nameStandIn(std::string& name, int boundKey) {
  const int standIn = standInFor(boundKey);
  if (standIn != kNoStandIn) name = std::string(1, static_cast<char>(standIn));
}

}  // namespace

KeyNames chooseKeyNames(const Game& game) {
  KeyNames names = presetBActive(game) ? KeyNames{"SPACE", "RIGHT CTRL", "RIGHT ALT", "/"}
                                       : KeyNames{"SPACE", "LEFT ALT", "E", "LEFT SHIFT"};
  if (platform::keysExact()) return names;
  nameStandIn(names.electrica, game.keyElectrica);
  nameStandIn(names.glacies, game.keyGlacies);
  nameStandIn(names.herba, game.keyHerba);
  return names;
}

void presentFrame(Game& game) {
  std::vector<MapObject> sprites = buildSpriteList(game);
  const KeyNames keyNames = chooseKeyNames(game);
  renderFrame(game.screen, game, std::move(sprites), keyNames);
  printMessages(game);
}

}  // namespace veldra
