// Any bytes as a level file: the loader reads it by its rules or refuses it, and a whole
// frame of play is then drawn from what it read.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/game.h"
#include "core/level_loader.h"
#include "core/map_grid.h"
#include "fuzz_support.h"
#include "platform/headless/headless.h"
#include "render/present_frame.h"
#include "world/update_world.h"

namespace {

using namespace veldra;

const std::string kFile = "otestinggrounds.txt";

// One game for the whole run, started in a folder of its own on a one-cell level.
Game& game() {
  static std::unique_ptr<Game> instance = [] {
    const auto folder = std::filesystem::temp_directory_path() / ("veldra-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    std::ofstream(kFile) << "Start\nP\n";
    platform::headless::reset();  // no console: frames of 80 x 25
    auto created = std::make_unique<Game>();
    created->inFrontEnd = false;
    return created;
  }();
  return *instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Game& g = game();
  std::ofstream(kFile, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
  g.mapObjects.clear();
  g.enemies.clear();
  g.projectiles.clear();
  g.particles.clear();
  g.playerX = g.playerY = 4.0;
  fuzz::require(loadLevel(kFile, g, g.playerX, g.playerY), "a readable file was refused");
  fuzz::require(g.mapGrid.size() == static_cast<std::size_t>(g.mapWidth * g.mapHeight), "the grid is not 64 x 64");
  for (const MapObject& object : g.mapObjects) {
    fuzz::require(!isWallCell(g, static_cast<int>(object.x), static_cast<int>(object.y)), "an object in a wall");
  }
  updateWorld(g);
  presentFrame(g);
  return 0;
}
