// One game frame, composed stage by stage; each later stage paints over the earlier ones.

#include "core/game.h"
#include "platform/clock.h"
#include "render/hud.h"
#include "render/render_frame.h"
#include "render/raycaster.h"
#include "render/sprites.h"

namespace veldra {

void renderFrame(ConsoleScreen& screen, const Game& game, std::vector<MapObject> sprites,
                 const KeyNames& keyNames) {
  renderFrameReusing(screen, game, sprites, keyNames);
}

void renderFrameReusing(ConsoleScreen& screen, const Game& game, std::vector<MapObject>& sprites,
                        const KeyNames& keyNames) {
  const FrameSize size = capFrameSize(queryFrameSize(screen));
  // The walls' pass paints every cell of every column (sky or ceiling, wall, floor), so the
  // cells are not cleared first.
  if (!sizeFrame(screen, size)) return;
  const FrameView frame{screen.cells.get(), size.width, size.height};
  const std::uint32_t ticks = platform::tickCount();

  // Walls first, while the sprite list is still in build order: its torches light them.
  drawWalls(frame, game, screen, sprites, ticks, screen.depth);
  const std::vector<double>& depth = screen.depth;
  sortFarthestFirst(sprites, game.playerX, game.playerY, screen.spriteOrder);
  drawSprites(frame, game, screen, sprites, depth);
  drawParticles(frame, game, screen, depth);
  if (themeOf(game.themeLetter) == Theme::Outdoor) drawRain(frame, screen, depth);
  drawMinimap(frame, game, sprites);
  drawLevelName(frame, game);
  drawStatus(frame, game, keyNames, ticks);
  if (game.paused) drawPauseBox(frame);
  drawStaff(frame, game.attackFrame);
  writeFrame(screen, size);
}

}  // namespace veldra
