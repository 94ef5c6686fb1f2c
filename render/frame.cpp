#include "core/game.h"
#include "render/present_frame.h"

namespace veldra {

std::vector<MapObject> buildSpriteList(const Game& game) {
  std::vector<MapObject> sprites = game.mapObjects;
  return sprites;
}

void renderFrame(ConsoleScreen& screen, const Game& game, std::vector<MapObject> sprites,
                 const KeyNames& keyNames) {
  (void)game;
  (void)sprites;
  (void)keyNames;
  const FrameSize size = capFrameSize(queryFrameSize(screen));
  if (!prepareFrame(screen, size, kClearAttribute)) return;
  writeFrame(screen, size);
}

}  // namespace veldra
