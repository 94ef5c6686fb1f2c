#include "core/program/program.h"

#include <fstream>
#include <iterator>
#include <optional>

#include "core/program/demo.h"
#include "core/game.h"
#include "core/program/game_loop.h"
#include "platform/console.h"
#include "platform/frame_input.h"
#include "platform/keyboard.h"
#include "platform/lifetime.h"
#include "platform/process.h"
#include "platform/random.h"

namespace veldra {
namespace {

constexpr int kBadUse = 2;
constexpr const char* kUsage =
    "usage: veldra                 play\n"
    "       veldra --record FILE   play, recording the game to FILE\n"
    "       veldra --replay FILE   show a recorded game (Esc stops it)\n"
    "       veldra --verify FILE   check that a recorded game still plays out the same\n"
    "  --colours 16|256|24bit      with any of these: send the terminal's own sixteen colours,\n"
    "                              the 256-colour palette or 24-bit colour, rather than what\n"
    "                              its environment asks for\n";

constexpr const char* kNoKeyboard =
    "veldra: no terminal to read keys from (standard input is not one and there is no controlling terminal)\n";

int complain(const std::string& file, const std::string& problem) {
  platform::writeStandardError("veldra: " + file + ": " + problem + "\n");
  return kBadUse;
}

void printStartUpLines() {
  platform::writeStandardOutput("Engine working directory:\n");
  platform::writeStandardOutput(platform::currentDirectory());
  platform::writeStandardOutput("\\axismundi.txt\n");
}

// The game as it always runs, with a watcher on its frames when one is given; returns
// after the game is over and hands the Game to `after` before it is destroyed. False when
// there is no keyboard to play with: said once the level has loaded, and nothing is played.
template <typename After>
bool playGame(FrameWatcher* watcher, After after) {
  printStartUpLines();
  Game game;
  if (!platform::keyboardAvailable()) {
    platform::writeStandardOutput("\n");  // ends the "Map: loaded" line
    platform::writeStandardError(kNoKeyboard);
    return false;
  }
  platform::beginPlay();
  runGameLoop(game, watcher);
  after(game);
  return true;
}

int record(const std::string& file) {
  demo::Recorder recorder;
  std::string error;
  if (!recorder.start(file, demo::headerForNow(), error)) return complain(file, error);
  platform::setFrameInputObserver(&recorder);
  const bool played = playGame(&recorder, [&](const Game& game) { recorder.finish(game); });
  platform::setFrameInputObserver(nullptr);
  return played ? 0 : kBadUse;
}

std::optional<demo::Recording> readRecording(const std::string& file, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) {
    error = "cannot be read";
    return std::nullopt;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return demo::decode(bytes, error);
}

int playBack(const std::string& file, demo::Playback mode) {
  std::string error;
  std::optional<demo::Recording> recording = readRecording(file, error);
  if (!recording) return complain(file, error);
  if (const std::string mismatch = demo::levelMismatch(recording->header); !mismatch.empty()) {
    return complain(file, mismatch);
  }
  platform::seedRand15(recording->header.randState);
  demo::Player player(std::move(*recording), mode, file);
  platform::setFrameInputSource(&player);
  int status = 0;
  playGame(&player, [&](const Game& game) { status = player.finish(game); });
  platform::setFrameInputSource(nullptr);
  return status;
}

}  // namespace

namespace {

bool parseColours(const std::string& value, platform::Colours& colours) {
  if (value == "16") colours = platform::Colours::Sixteen;
  else if (value == "256") colours = platform::Colours::Palette256;
  else if (value == "24bit") colours = platform::Colours::TrueColour;
  else return false;
  return true;
}

bool parseMode(const std::string& option, RunMode& mode) {
  if (option == "--record") mode = RunMode::Record;
  else if (option == "--replay") mode = RunMode::Replay;
  else if (option == "--verify") mode = RunMode::Verify;
  else return false;
  return true;
}

}  // namespace

// Options come in pairs, in any order: at most one of --record, --replay and --verify with
// its file, and --colours with its value.
CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  const CommandLine usage{RunMode::Usage, ""};
  CommandLine command;
  bool coloursGiven = false;
  if (arguments.size() % 2 != 0) return usage;
  for (std::size_t i = 0; i < arguments.size(); i += 2) {
    const std::string& option = arguments[i];
    const std::string& value = arguments[i + 1];
    if (option == "--colours") {
      if (coloursGiven || !parseColours(value, command.colours)) return usage;
      coloursGiven = true;
    } else if (command.mode != RunMode::Play || value.empty() || !parseMode(option, command.mode)) {
      return usage;
    } else {
      command.file = value;
    }
  }
  return command;
}

int runProgram(const CommandLine& command) {
  if (command.mode == RunMode::Usage) {
    platform::writeStandardError(kUsage);
    return kBadUse;
  }
  // A check of a recording runs with the devices off, as fast as it goes.
  platform::start(command.mode == RunMode::Verify ? platform::Devices::Off : platform::Devices::On, command.colours);
  int status = kBadUse;
  switch (command.mode) {
    case RunMode::Play: status = playGame(nullptr, [](const Game&) {}) ? 0 : kBadUse; break;
    case RunMode::Record: status = record(command.file); break;
    case RunMode::Replay: status = playBack(command.file, demo::Playback::Replay); break;
    case RunMode::Verify: status = playBack(command.file, demo::Playback::Verify); break;
    case RunMode::Usage: break;
  }
  platform::stop();
  return status;
}

}  // namespace veldra
