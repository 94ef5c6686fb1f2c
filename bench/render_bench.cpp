// Drawing a 120 x 50 game frame on the shipped levels, from several places, with each
// level's own sprites: renderFrame alone and the whole presentFrame.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "core/game.h"
#include "core/level_loader.h"
#include "platform/headless/headless.h"
#include "render/present_frame.h"
#include "render/sprites.h"

namespace {

using namespace veldra;

struct Viewpoint {
  const char* level;
  double x;
  double y;
  double angle;
};

// Starts, open ground, long corridors and rooms full of objects.
constexpr Viewpoint kViewpoints[] = {
    {"otestinggrounds.txt", 3.5, 32.5, 0.0},   {"otestinggrounds.txt", 30.5, 32.5, 0.0},
    {"otestinggrounds.txt", 27.5, 47.5, 1.2},  {"otestinggrounds.txt", 46.5, 32.5, 3.3},
    {"iaxismundi.txt", 4.5, 7.5, 0.0},         {"iaxismundi.txt", 20.5, 7.5, 0.1},
    {"iaxismundi.txt", 33.5, 13.5, 1.6},       {"iaxismundi.txt", 30.5, 40.5, 0.7},
};

std::unique_ptr<Game> gameAt(const Viewpoint& view) {
  platform::headless::reset();
  platform::headless::setWindowSize(120, 50);
  std::filesystem::current_path(std::filesystem::path(VELDRA_SOURCE_DIR) / "levels");
  auto game = std::make_unique<Game>();
  game->mapObjects.clear();
  game->enemies.clear();
  loadLevel(view.level, *game, game->playerX, game->playerY);
  game->playerX = view.x;
  game->playerY = view.y;
  game->playerAngle = view.angle;
  game->inFrontEnd = false;
  return game;
}

void BM_RenderFrame(benchmark::State& state) {
  const Viewpoint& view = kViewpoints[state.range(0)];
  std::unique_ptr<Game> game = gameAt(view);
  const std::vector<MapObject> sprites = buildSpriteList(*game);
  const KeyNames keys = chooseKeyNames(*game);
  for (auto _ : state) {
    renderFrame(game->screen, *game, sprites, keys);
    benchmark::DoNotOptimize(game->screen.cells.get());
  }
  state.SetLabel(std::string(view.level) + " sprites=" + std::to_string(sprites.size()));
}
BENCHMARK(BM_RenderFrame)->DenseRange(0, std::size(kViewpoints) - 1)->Unit(benchmark::kMicrosecond);

void BM_PresentFrame(benchmark::State& state) {
  std::unique_ptr<Game> game = gameAt(kViewpoints[state.range(0)]);
  for (auto _ : state) {
    presentFrame(*game);
    benchmark::DoNotOptimize(game->screen.cells.get());
  }
}
BENCHMARK(BM_PresentFrame)->Arg(0)->Arg(6)->Unit(benchmark::kMicrosecond);

}  // namespace
