// Renders one game frame from a level, a position and an angle, and prints it: plain text
// by default, or with colours (--colour: the terminal's sixteen, --24bit: the game's exact
// palette) for a terminal. For looking at levels and frames without playing:
//
//   veldra_view LEVEL X Y ANGLE [--size WxH] [--ticks MS] [--colour|--24bit] [--frames N] [--paused]
//
// Or a frame of a recording, as the game composed it when it played the recording back (in
// the working directory, which holds the levels); --list prints a line for each frame
// instead: its number, the level slot, and how many bolts, particles and enemies there are.
//
//   veldra_view --recording FILE (--frame N [--colour|--24bit] | --list)
//
// The level's directory must also hold the first level of the table, as for the game.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include <fstream>
#include <iterator>

#include "core/game.h"
#include "core/presets.h"
#include "core/level_loader.h"
#include "program/recording.h"
#include "program/game_loop.h"
#include "platform/headless/headless.h"
#include "platform/random.h"
#include "platform/terminal/cp437.h"
#include "platform/terminal/frame_encoder.h"
#include "render/present_frame.h"

namespace {

using namespace veldra;
namespace headless = platform::headless;

int usage() {
  std::cerr << "usage: veldra_view LEVEL X Y ANGLE [--size WxH] [--ticks MS] [--colour|--24bit] [--frames N] [--paused]\n"
               "       veldra_view --recording FILE (--frame N [--colour|--24bit] | --list)\n";
  return 2;
}

using platform::terminal::ColourMode;

// Colours: none (plain text), the terminal's sixteen, or the palette in 24-bit.
bool parseColour(const std::string& arg, std::optional<ColourMode>& colour) {
  if (arg == "--colour") colour = ColourMode::Sixteen;
  else if (arg == "--24bit") colour = ColourMode::TrueColour;
  else return false;
  return true;
}

void printFrame(std::optional<ColourMode> colour) {
  const auto& cells = headless::lastFrame();
  const int width = headless::lastFrameWidth();
  const int height = headless::lastFrameHeight();
  std::string out;
  for (int row = 0; row < height; ++row) {
    std::uint16_t current = 0xFFFF;
    for (int column = 0; column < width; ++column) {
      const CHAR_INFO& cell = cells[row * width + column];
      if (colour && cell.Attributes != current) {
        platform::terminal::appendAttribute(out, cell.Attributes, *colour);
        current = cell.Attributes;
      }
      out += platform::terminal::cp437ToUtf8(static_cast<unsigned char>(cell.Char.AsciiChar));
    }
    if (colour) out += "\x1b[0m";
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

// Plays a recording back on the headless backend, frame by frame, and prints frame `wanted`
// (or, with `list`, a line for every frame).
int showRecordedFrame(const std::string& file, int wanted, bool list, std::optional<ColourMode> colour) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  std::optional<recording::Recording> recording = recording::decode(bytes, error);
  if (!recording) {
    std::cerr << file << ": " << (in ? error : "cannot be read") << "\n";
    return 1;
  }
  if (const std::string mismatch = recording::levelMismatch(recording->header); !mismatch.empty()) {
    std::cerr << file << ": " << mismatch << "\n";
    return 1;
  }
  headless::reset();
  platform::seedRand15(recording->header.randState);
  recording::Playback player(std::move(*recording), recording::PlaybackMode::Replay, file);
  platform::setFrameInputSource(&player);
  try {
    Game game;
    useBindings(game, player.bindings());  // a recording's game plays with its own keys
    for (int frame = 0; list || frame <= wanted; ++frame) {
      if (!runFrame(game, &player)) break;
      if (list) {
        std::printf("%d: level %d, x=%.3f y=%.3f angle=%.3f, health %d, mana %d, %zu bolts, %zu particles, %zu enemies%s\n",
                    frame, game.levelIndex, game.playerX, game.playerY, game.playerAngle, game.hp, game.mp,
                    game.projectiles.size(), game.particles.size(), game.enemies.size(),
                    game.inFrontEnd ? ", title" : "");
      } else if (frame == wanted) {
        printFrame(colour);
        return 0;
      }
    }
  } catch (const headless::ProcessExit&) {
    std::cerr << file << ": the game ended\n";
    return 1;
  }
  if (list) return 0;
  std::cerr << file << ": there is no frame " << wanted << "\n";
  return 1;
}

int viewRecording(int argc, char** argv) {
  int frame = -1;
  bool list = false;
  std::optional<ColourMode> colour;
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--frame" && i + 1 < argc) frame = std::atoi(argv[++i]);
    else if (arg == "--list") list = true;
    else if (!parseColour(arg, colour)) return usage();
  }
  if (frame < 0 && !list) return usage();
  return showRecordedFrame(argv[2], frame, list, colour);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--recording") return viewRecording(argc, argv);
  if (argc < 5) return usage();
  const std::filesystem::path level = std::filesystem::absolute(argv[1]);
  const double x = std::atof(argv[2]);
  const double y = std::atof(argv[3]);
  const double angle = std::atof(argv[4]);
  int width = 120;
  int height = 50;
  std::uint32_t ticks = 0;
  std::optional<ColourMode> colour;
  bool paused = false;
  int frames = 1;
  for (int i = 5; i < argc; ++i) {
    const std::string arg = argv[i];
    if (parseColour(arg, colour)) continue;
    if (arg == "--paused") paused = true;
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
