// The soak: both shipped levels played with random keys for a million frames in all (fewer
// when VELDRA_SOAK_FRAMES says so), the game's invariants checked after every frame. Each
// game that ends (quit or death) is followed by a new one; odd games start on the second
// level, and the spells come in random states so that every part of the fight is played.

#include <gtest/gtest.h>

#include <malloc.h>

#include <atomic>
#include <cmath>
#include <new>
#include <cstdlib>
#include <memory>
#include <random>

#include "core/game.h"
#include "program/game_loop.h"
#include "core/level_loader.h"
#include "core/map_grid.h"
#include "platform/frame_input.h"
#include "player/update_player.h"
#include "world/update_world.h"
#include "player/movement.h"
#include "player/spells.h"
#include "test_support.h"

namespace veldra {
namespace {

namespace headless = platform::headless;

constexpr long kDefaultFrames = 1'000'000;
constexpr int kDrawEvery = 16;  // frames between full frames (input, world, picture)

// The keys the game reads in play. Esc and X are left out (a game ends by death or by its
// frame budget), and P is pressed on a schedule so that the game is not paused half the time.
constexpr int kKeys[] = {vk::kUp,     vk::kDown,    vk::kLeft,    vk::kRight,    vk::kLeftControl, vk::kRightControl,
                         vk::kSpace,  vk::kE,       vk::kLeftAlt, vk::kRightAlt, vk::kLeftShift,   vk::kW};
constexpr long kPauseEvery = 3000;  // frames; each pause lasts kPauseLength frames
constexpr long kPauseLength = 40;

// The particle bound. Particles live at most 29 frames (the aura's 15 + 14). Within any 29
// frames the most that can be born: the capped emitters never push far past 120 (every
// fire's flicker and the aura's 3 in one frame); the staff strikes at most 8 times (60
// each); HERBA is cast at most 15 times (35 each); and each bolt ends once (a shatter of
// 30 and a burst of 25) after a life of trail sparks (one a frame, 9 frames each). Bolts
// alive at once are bounded by mana: at most 500 / 10 + 2 per 2 frames over a bolt's
// longest flight (64 * sqrt 2 / 0.25 frames, 363), so fewer than 450; add the GLACIES
// burst (20) and a burn or shield spray (15).
std::size_t particleBound(std::size_t fires) {
  const std::size_t capped = 120 + fires + 3;
  const std::size_t staff = 8 * 60;
  const std::size_t herba = 15 * 35;
  const std::size_t bolts = 450 * (30 + 25 + 9);
  return capped + staff + herba + bolts + 20 + 15;
}

long soakFrames() {
  const char* text = std::getenv("VELDRA_SOAK_FRAMES");
  return text ? std::atol(text) : kDefaultFrames;
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

// Every allocation the frames make, counted while `counting` is set on the thread that runs
// them. Another thread's are not the frame's: the mixer's worker, started by the Game, may
// still be starting on a busy machine when the count begins.
thread_local bool counting = false;
std::atomic<long> allocations{0};

}  // namespace
}  // namespace veldra

// GCC takes the replaced pair for a mismatch of new and free; they are one pair here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size) {
  if (veldra::counting) veldra::allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace veldra {
namespace {

class SoakTest : public testing::ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    installShippedLevel("otestinggrounds.txt");
    installShippedLevel("iaxismundi.txt");
  }

  std::unique_ptr<Game> newGame(std::mt19937& random, int number) {
    testing::resetProcessWideFlags();
    auto game = std::make_unique<Game>();
    game->inFrontEnd = false;
    if (number % 2 == 1) {
      game->mapObjects.clear();
      game->enemies.clear();
      game->levelIndex = 1;
      loadLevel(game->levelFiles[1], *game, game->playerX, game->playerY);
    }
    std::bernoulli_distribution coin(0.5);
    game->ignisLearned = coin(random);
    game->ignisUpgraded = coin(random);
    game->electricaLearned = coin(random);
    game->glaciesLearned = coin(random);
    game->glaciesUpgraded = coin(random);
    game->herbaLearned = coin(random);
    game->herbaUpgraded = coin(random);
    if (coin(random)) {
      game->manaInfusion = true;
      game->mpMax = 500;
      game->mp = 450;
    }
    game->hp = 100;
    return game;
  }

  // Everything that must hold after any frame; a failure names the frame.
  void checkInvariants(const Game& game, long frame, std::size_t fires) {
    SCOPED_TRACE("frame " + std::to_string(frame));
    ASSERT_TRUE(std::isfinite(game.playerX) && std::isfinite(game.playerY) && std::isfinite(game.playerAngle));
    ASSERT_FALSE(blocksAt(game, game.playerX, game.playerY)) << "the player stands in a wall or off the grid";
    if (game.alive) {
      ASSERT_GE(game.hp, 0);
      ASSERT_LE(game.hp, 100);
    }
    // Mana stops at its cap; only the basic shield's 50 for 25 takes it below zero.
    ASSERT_LE(game.mp, game.mpMax);
    ASSERT_GE(game.mp, -25);
    for (const Enemy& enemy : game.enemies) {
      ASSERT_TRUE(std::isfinite(enemy.x) && std::isfinite(enemy.y));
      ASSERT_FALSE(blocksAt(game, enemy.x, enemy.y)) << "an enemy stands in a wall";
    }
    for (const Projectile& bolt : game.projectiles) {
      ASSERT_TRUE(std::isfinite(bolt.x) && std::isfinite(bolt.y));
      ASSERT_FALSE(blocksAt(game, bolt.x, bolt.y)) << "a bolt outlived its wall";
    }
    ASSERT_LE(game.particles.size(), particleBound(fires));
    ASSERT_LE(game.messages.size(), 4u);
  }
};

std::size_t firesOf(const Game& game) {
  std::size_t fires = 0;
  for (const MapObject& object : game.mapObjects) fires += object.glyph == 'F';
  return fires;
}

// After its first frames a level plays without a heap allocation: frames of walking,
// turning and fighting on the first level, bolts, particles and message lines included.
// (With no console, so that the test backend keeps no copy of each line it is given.)
TEST_F(SoakTest, ASteadyFrameOfPlayAllocatesNothing) {
  headless::setNoConsole();
  auto game = std::make_unique<Game>();
  game->inFrontEnd = false;
  game->ignisLearned = game->electricaLearned = game->herbaLearned = true;
  game->mp = game->mpMax = 500;
  headless::setInputScript([](int frame) {
    testing::releaseAllKeys();
    headless::setKeyDown(frame % 90 < 60 ? vk::kUp : vk::kLeft, true);
    if (frame % 40 == 0) headless::setKeyDown(vk::kLeftAlt, true);  // a bolt now and then
    if (frame % 70 == 0) headless::setKeyDown(vk::kLeftControl, true);
  });
  constexpr int kWarmUp = 120;
  constexpr int kSteady = 400;
  for (int frame = 0; frame < kWarmUp; ++frame) ASSERT_TRUE(runFrame(*game));
  counting = true;
  for (int frame = 0; frame < kSteady; ++frame) runFrame(*game);
  counting = false;
  EXPECT_EQ(allocations.load(), 0) << "heap allocations in " << kSteady << " steady frames";
}

TEST_F(SoakTest, AMillionRandomFramesKeepEveryInvariant) {
  const long frames = soakFrames();
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> pickKey(0, static_cast<int>(std::size(kKeys)) - 1);
  std::uniform_int_distribution<int> gameLength(500, 20000);
  std::bernoulli_distribution toggle(0.15);

  int games = 0;
  std::unique_ptr<Game> game = newGame(random, games);
  long gameEnds = gameLength(random);
  std::size_t peakParticles = 0;
  std::size_t steadyHeap = 0;
  std::size_t peakHeap = 0;
  bool keys[platform::kVirtualKeyCount] = {};
  for (long frame = 0; frame < frames; ++frame) {
    if (toggle(random)) {
      const int key = kKeys[pickKey(random)];
      keys[key] = !keys[key];
      headless::setKeyDown(key, keys[key]);
    }
    const long pausePhase = frame % kPauseEvery;
    headless::setKeyDown(vk::kP, pausePhase == 0 || pausePhase == kPauseLength);
    const bool draw = frame % kDrawEvery == 0;
    bool alive = true;
    if (draw) {
      alive = runFrame(*game);
    } else {
      updateFrame(*game);
      alive = game->alive;
    }
    checkInvariants(*game, frame, firesOf(*game));
    if (HasFatalFailure()) return;
    peakParticles = std::max(peakParticles, game->particles.size());
    if (!alive || !game->running || frame >= gameEnds) {
      ++games;
      stopAllSounds();
      game.reset();
      game = newGame(random, games);
      gameEnds = frame + gameLength(random);
    }
    // Memory, once the first games have passed: nothing may grow without end.
    if (frame == frames / 4) steadyHeap = heapInUse();
    if (frame > frames / 4) peakHeap = std::max(peakHeap, heapInUse());
  }
  std::printf("soak: %ld frames, %d games, peak particles %zu (bound %zu), heap at a quarter %zu B, peak after %zu B\n",
              frames, games + 1, peakParticles, particleBound(3), steadyHeap, peakHeap);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
  EXPECT_LT(peakHeap, steadyHeap + (4u << 20)) << "the heap grew by more than 4 MB after the first quarter";
#endif
}

}  // namespace
}  // namespace veldra
