// One world update on a crowded scene, and one whole play frame on a shipped level.
// Each iteration starts from the same scene (restored outside the timed part), so every
// iteration does the same work.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>

#include "audio/sound_client.h"
#include "core/game.h"
#include "platform/headless/headless.h"
#include "platform/random.h"
#include "player/update_player.h"
#include "render/present_frame.h"
#include "world/update_world.h"

namespace {

using namespace veldra;
using Clock = std::chrono::steady_clock;

constexpr int kEnemies = 64;
constexpr int kBolts = 32;
constexpr int kParticles = 1000;
constexpr int kMapObjects = 200;

std::unique_ptr<Game> gameOnShippedLevel() {
  platform::headless::reset();
  platform::headless::setWindowSize(120, 50);
  std::filesystem::current_path(std::filesystem::path(VELDRA_SOURCE_DIR) / "levels");
  auto game = std::make_unique<Game>();
  game->inFrontEnd = false;
  return game;
}

// The scene's moving parts, kept to restore before each iteration.
struct Scene {
  std::vector<Enemy> enemies;
  std::vector<Projectile> projectiles;
  std::vector<Particle> particles;
  std::vector<MapObject> mapObjects;
  int hp, mp, burnCooldown;

  void restore(Game& game) const {
    game.enemies = enemies;
    game.projectiles = projectiles;
    game.particles = particles;
    game.mapObjects = mapObjects;
    game.hp = hp;
    game.mp = mp;
    game.burnCooldown = burnCooldown;
    game.attackFrame = 0;
    stopAllSounds();  // the headless device never plays: keep the voice list short
  }
};

// An open 64 x 64 field: enemies on a ring chasing the player in the middle, bolts flying
// out between them, a cloud of particles (a tenth of them HERBA's), and scenery, pickups
// and fires scattered where the bolts do not pass.
Scene crowdedScene(Game& game) {
  game.mapGrid.assign(64 * 64, '.');
  game.playerX = game.playerY = 32.0;
  Scene scene{};
  for (int i = 0; i < kEnemies; ++i) {
    const double a = 2.0 * M_PI * i / kEnemies;
    scene.enemies.push_back(Enemy{32.0 + 20.0 * std::cos(a), 32.0 + 20.0 * std::sin(a), 200, 12, true});
  }
  for (int i = 0; i < kBolts; ++i) {
    const double a = 2.0 * M_PI * (i + 0.5) / kBolts;
    const double speed = i % 2 ? 0.25 : 0.55;
    scene.projectiles.push_back(
        Projectile{32.0 + 3.0 * std::cos(a), 32.0 + 3.0 * std::sin(a), speed * std::cos(a), speed * std::sin(a)});
  }
  for (int i = 0; i < kParticles; ++i) {
    const std::uint16_t colour = i % 10 == 0 ? 10 : 9;
    scene.particles.push_back(Particle{8.0 + (i % 48), 40.0 + (i / 48) * 0.5, 0.01, -0.01, 40, colour});
  }
  const char glyphs[] = {'o', 'M', 'T', 'w', 'h', 'F', 'f', 'Y', 't', 'm'};
  for (int i = 0; i < kMapObjects; ++i) {
    scene.mapObjects.push_back(MapObject{2.5 + (i % 20) * 3.0, 1.5 + (i / 20) * 0.4, glyphs[i % 10], 10});
  }
  scene.hp = 100;
  scene.mp = 10;
  scene.burnCooldown = 0;
  return scene;
}

void BM_UpdateWorldCrowded(benchmark::State& state) {
  std::unique_ptr<Game> game = gameOnShippedLevel();
  const Scene scene = crowdedScene(*game);
  for (auto _ : state) {
    scene.restore(*game);
    platform::seedRand15(1);
    const Clock::time_point start = Clock::now();
    updateWorld(*game);
    const Clock::time_point end = Clock::now();
    benchmark::DoNotOptimize(game->particles.data());
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  state.SetLabel(std::to_string(kEnemies) + " enemies, " + std::to_string(kBolts) + " bolts, " +
                 std::to_string(kParticles) + " particles, " + std::to_string(kMapObjects) + " objects");
}
BENCHMARK(BM_UpdateWorldCrowded)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The lane of Testing Grounds, looking east past the trees toward the ruins, with three
// bolts in flight and the bursts of two more.
Scene playScene(Game& game) {
  game.playerX = 14.5;
  game.playerY = 32.5;
  game.playerAngle = 0.05;
  Scene scene{game.enemies, {}, {}, game.mapObjects, 100, 20, 0};
  for (int i = 0; i < 3; ++i) scene.projectiles.push_back(Projectile{16.0 + 2.0 * i, 32.3 + 0.2 * i, 0.25, 0.0});
  for (int i = 0; i < 50; ++i) {
    const double a = 2.0 * M_PI * i / 25;
    scene.particles.push_back(Particle{20.0 + 3.0 * (i / 25), 31.5, 0.05 * std::cos(a), 0.05 * std::sin(a), 15, 11});
  }
  return scene;
}

void BM_PlayFrame(benchmark::State& state) {
  std::unique_ptr<Game> game = gameOnShippedLevel();
  const Scene scene = playScene(*game);
  for (auto _ : state) {
    scene.restore(*game);
    game->playerAngle = 0.05;
    const Clock::time_point start = Clock::now();
    updatePlayer(*game);
    updateWorld(*game);
    presentFrame(*game);
    const Clock::time_point end = Clock::now();
    benchmark::DoNotOptimize(game->screen.cells.get());
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  state.SetLabel("Testing Grounds, 120 x 50, 3 bolts and 50 burst particles");
}
BENCHMARK(BM_PlayFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
