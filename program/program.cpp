#include "program/program.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>

#include "audio/audio_engine.h"
#include "core/game.h"
#include "core/presets.h"
#include "program/recording.h"
#include "program/settings.h"
#include "program/game_loop.h"
#include "platform/console.h"
#include "platform/frame_input.h"
#include "platform/keyboard.h"
#include "platform/lifetime.h"
#include "platform/pad.h"
#include "platform/process.h"
#include "platform/random.h"

namespace veldra {
namespace {

constexpr int kBadUse = 2;
constexpr const char* kUsage =
    "usage: veldra [OPTION]...     play\n"
    "       veldra --record FILE   play, recording the game to FILE\n"
    "       veldra --replay FILE   show a recorded game (Esc stops it)\n"
    "       veldra --verify FILE   check that a recorded game still plays out the same\n"
    "       veldra --print-settings  print the settings in force as a settings file and end\n"
    "       veldra --help          show this and end\n"
    "       veldra --version       show the version and end\n"
    "options, with any of the above, each at most once:\n"
    "  --colours 16|256|24bit      send the terminal's own sixteen colours, the 256-colour\n"
    "                              palette or 24-bit colour, rather than what its\n"
    "                              environment asks for\n"
    "  --mouse-speed N             how fast moving the mouse sideways turns the view, in\n"
    "                              percent of the usual (1 to 1000; 100 when not given)\n"
    "  --no-mouse                  leave the mouse to the terminal: no mouse look, and its\n"
    "                              buttons are not the staff and the walk\n"
    "  --volume N                  the sound's volume, 0 (silent) to 100 (full, when not given)\n"
    "  --config FILE               read the settings from FILE rather than from\n"
    "                              ~/.config/veldra/veldra.toml\n"
    "  --no-config                 read no settings file\n";

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
bool playGame(const BindingTable& bindings, FrameWatcher* watcher, After after) {
  printStartUpLines();
  Game game;
  useBindings(game, bindings);
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

// `afterPlay` gets what is to be said once the terminal is given back.
int record(const std::string& file, const BindingTable& bindings, std::string& afterPlay) {
  recording::Recorder recorder;
  std::string error;
  recording::Header header = recording::headerForNow();
  header.bindings = bindings;
  if (!recorder.start(file, header, error)) return complain(file, error);
  platform::setFrameInputObserver(&recorder);
  bool whole = true;
  const bool played = playGame(bindings, &recorder, [&](const Game& game) { whole = recorder.finish(game); });
  platform::setFrameInputObserver(nullptr);
  // A recording that could not be written in full (a full disk) is not kept quiet about.
  if (!whole) {
    afterPlay = "veldra: " + file + ": could not be written in full (it ends where the writing stopped)\n";
    return kBadUse;
  }
  return played ? 0 : kBadUse;
}

// A whole file, or at most `limit` bytes of it and one more (to tell that it is longer);
// false when it cannot be opened or read (a folder is opened, but not read).
bool readWholeFile(const std::string& file, std::string& bytes,
                   std::size_t limit = std::numeric_limits<std::size_t>::max() - 1) {
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) return false;
  bytes.clear();
  try {
    char chunk[1 << 16];
    while (bytes.size() <= limit && in.read(chunk, sizeof chunk).gcount() > 0) {
      bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
  } catch (const std::ios_base::failure&) {
    return false;
  }
  return !in.bad();
}

std::optional<recording::Recording> readRecording(const std::string& file, std::string& error) {
  std::string bytes;
  if (!readWholeFile(file, bytes)) {
    error = "cannot be read";
    return std::nullopt;
  }
  return recording::decode(bytes, error);
}

int playBack(const std::string& file, recording::PlaybackMode mode) {
  std::string error;
  std::optional<recording::Recording> recording = readRecording(file, error);
  if (!recording) return complain(file, error);
  if (const std::string mismatch = recording::levelMismatch(recording->header); !mismatch.empty()) {
    return complain(file, mismatch);
  }
  platform::seedRand15(recording->header.randState);
  recording::Playback player(std::move(*recording), mode, file);
  platform::setFrameInputSource(&player);
  int status = 0;
  const BindingTable bindings = player.bindings();
  playGame(bindings, &player, [&](const Game& game) { status = player.finish(game); });
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

// A whole number from `lowest` to `highest`, digits only.
bool parseWholeNumber(const std::string& value, int lowest, int highest, int& number) {
  if (value.empty() || value.size() > 4) return false;
  number = 0;
  for (const char digit : value) {
    if (digit < '0' || digit > '9') return false;
    number = number * 10 + (digit - '0');
  }
  return number >= lowest && number <= highest;
}

// One option and, where it takes one, its value (`next` is advanced past it). False for
// anything unknown, a missing or bad value, or an option already given.
bool parseOption(const std::vector<std::string>& arguments, std::size_t& next, CommandLine& command,
                 std::vector<std::string>& given) {
  const std::string& option = arguments[next++];
  if (std::find(given.begin(), given.end(), option) != given.end()) return false;
  given.push_back(option);
  if (option == "--no-mouse") {
    command.mouseOn = false;
    return true;
  }
  if (option == "--no-config") {
    command.noConfig = true;
    return command.configFile.empty();
  }
  if (option == "--print-settings") {
    if (command.mode != RunMode::Play) return false;
    command.mode = RunMode::PrintSettings;
    return true;
  }
  if (next >= arguments.size()) return false;
  const std::string& value = arguments[next++];
  if (option == "--colours") {
    platform::Colours colours{};
    if (!parseColours(value, colours)) return false;
    command.colours = colours;
    return true;
  }
  int number = 0;
  if (option == "--mouse-speed") {
    if (!parseWholeNumber(value, platform::kSlowestMouseSpeed, platform::kFastestMouseSpeed, number)) return false;
    command.mouseSpeed = number;
    return true;
  }
  if (option == "--volume") {
    if (!parseWholeNumber(value, 0, kFullVolume, number)) return false;
    command.volume = number;
    return true;
  }
  if (option == "--config") {
    command.configFile = value;
    return !value.empty() && !command.noConfig;
  }
  if (command.mode != RunMode::Play || value.empty() || !parseMode(option, command.mode)) return false;
  command.file = value;
  return true;
}

// The settings file in force (the one --config names, else the default one where it exists,
// none with --no-config), then the command line's options over it.
constexpr std::size_t kLargestSettingsFile = 1 << 20;

bool readSettingsFile(const std::string& file, bool mustExist, Settings& settings, std::string& error) {
  std::string text;
  if (!readWholeFile(file, text, kLargestSettingsFile)) {
    if (!mustExist) return true;
    error = "veldra: " + file + ": the settings file cannot be read";
    return false;
  }
  if (text.size() > kLargestSettingsFile) {
    error = file + ":1: larger than 1 MiB; a settings file is a few lines of TOML";
    return false;
  }
  return readSettings(text, file, settings, error);
}

bool readSettingsInForce(const CommandLine& command, Settings& settings, std::string& error) {
  if (!command.configFile.empty()) {
    if (!readSettingsFile(command.configFile, true, settings, error)) return false;
  } else if (const std::string file = platform::defaultSettingsFile(); !command.noConfig && !file.empty()) {
    if (!readSettingsFile(file, false, settings, error)) return false;
  }
  if (command.colours) settings.colours = *command.colours;
  if (command.mouseOn) settings.mouse.on = *command.mouseOn;
  if (command.mouseSpeed) settings.mouse.speedPercent = *command.mouseSpeed;
  if (command.volume) settings.volume = *command.volume;
  return true;
}

}  // namespace

// Options in any order, each at most once: at most one of --record, --replay, --verify (with
// its file) and --print-settings; --colours, --mouse-speed, --volume and --config with their
// values; --no-mouse, --no-config (not with --config). --help (-h) and --version stand alone.
CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  const auto only = [](RunMode mode) {
    CommandLine command;
    command.mode = mode;
    return command;
  };
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) return only(RunMode::Help);
  if (arguments.size() == 1 && arguments[0] == "--version") return only(RunMode::Version);
  CommandLine command;
  std::vector<std::string> given;
  for (std::size_t next = 0; next < arguments.size();) {
    if (!parseOption(arguments, next, command, given)) return only(RunMode::Usage);
  }
  return command;
}

int runProgram(const CommandLine& command) {
  switch (command.mode) {
    case RunMode::Usage: platform::writeStandardError(kUsage); return kBadUse;
    case RunMode::Help: platform::writeResult(kUsage); return 0;
    case RunMode::Version: platform::writeResult("veldra " VELDRA_VERSION "\n"); return 0;
    default: break;
  }
  // The settings are read whole before anything touches the terminal: a bad file ends here.
  Settings settings;
  if (std::string error; !readSettingsInForce(command, settings, error)) {
    platform::writeStandardError(error + "\n");
    return kBadUse;
  }
  if (command.mode == RunMode::PrintSettings) {
    platform::writeResult(printSettings(settings));
    return 0;
  }
  AudioEngine::instance().volumePercent = settings.volume;
  platform::readLettersByPosition(settings.lettersByPosition);
  platform::usePad(settings.pad);
  // A check of a recording runs with the devices off, as fast as it goes.
  platform::start(command.mode == RunMode::Verify ? platform::Devices::Off : platform::Devices::On, settings.colours,
                  settings.mouse);
  int status = kBadUse;
  std::string afterPlay;
  switch (command.mode) {
    case RunMode::Play: status = playGame(settings.bindings, nullptr, [](const Game&) {}) ? 0 : kBadUse; break;
    case RunMode::Record: status = record(command.file, settings.bindings, afterPlay); break;
    case RunMode::Replay: status = playBack(command.file, recording::PlaybackMode::Replay); break;
    case RunMode::Verify: status = playBack(command.file, recording::PlaybackMode::Verify); break;
    default: break;
  }
  platform::stop();
  if (!afterPlay.empty()) platform::writeStandardError(afterPlay);
  return status;
}

}  // namespace veldra
