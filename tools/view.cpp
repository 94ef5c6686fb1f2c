// Renders one game frame from a level, a position and an angle, and prints it: plain text
// by default, or with colours (--colour) for a terminal. For looking at levels and frames
// without playing:
//
//   veldra_view LEVEL X Y ANGLE [--size WxH] [--ticks MS] [--colour] [--frames N] [--paused]
//
// The level's directory must also hold the first level of the table, as for the game.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "core/game.h"
#include "core/level_loader.h"
#include "platform/headless.h"
#include "platform/terminal/cp437.h"
#include "platform/terminal/frame_encoder.h"
#include "render/present_frame.h"

namespace {

using namespace veldra;
namespace headless = platform::headless;

int usage() {
  std::cerr << "usage: veldra_view LEVEL X Y ANGLE [--size WxH] [--ticks MS] [--colour] [--frames N] [--paused]\n";
  return 2;
}

void printFrame(bool colour) {
  const auto& cells = headless::lastFrame();
  const int width = headless::lastFrameWidth();
  const int height = headless::lastFrameHeight();
  std::string out;
  for (int row = 0; row < height; ++row) {
    std::uint16_t current = 0xFFFF;
    for (int column = 0; column < width; ++column) {
      const CHAR_INFO& cell = cells[row * width + column];
      if (colour && cell.Attributes != current) {
        platform::terminal::appendAttribute(out, cell.Attributes, platform::terminal::ColourMode::Sixteen);
        current = cell.Attributes;
      }
      out += platform::terminal::cp437ToUtf8(static_cast<unsigned char>(cell.Char.AsciiChar));
    }
    if (colour) out += "\x1b[0m";
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) return usage();
  const std::filesystem::path level = std::filesystem::absolute(argv[1]);
  const double x = std::atof(argv[2]);
  const double y = std::atof(argv[3]);
  const double angle = std::atof(argv[4]);
  int width = 120;
  int height = 50;
  std::uint32_t ticks = 0;
  bool colour = false;
  bool paused = false;
  int frames = 1;
  for (int i = 5; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--colour") colour = true;
    else if (arg == "--paused") paused = true;
    else if (arg == "--size" && i + 1 < argc && std::sscanf(argv[++i], "%dx%d", &width, &height) == 2) continue;
    else if (arg == "--ticks" && i + 1 < argc) ticks = static_cast<std::uint32_t>(std::atol(argv[++i]));
    else if (arg == "--frames" && i + 1 < argc) frames = std::atoi(argv[++i]);
    else return usage();
  }

  headless::reset();
  headless::setWindowSize(width, height);
  headless::setTickCount(ticks);
  std::filesystem::current_path(level.parent_path());
  try {
    Game game;
    game.mapObjects.clear();
    game.enemies.clear();
    if (!loadLevel(level.filename().string(), game, game.playerX, game.playerY)) {
      std::cerr << "cannot open " << level << "\n";
      return 1;
    }
    game.playerX = x;
    game.playerY = y;
    game.playerAngle = angle;
    game.inFrontEnd = false;
    game.paused = paused;
    for (int i = 0; i < frames; ++i) presentFrame(game);
    printFrame(colour);
  } catch (const headless::ProcessExit&) {
    std::cerr << "the first level of the table is missing beside " << level << "\n";
    return 1;
  }
  return 0;
}
