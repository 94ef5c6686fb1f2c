#pragma once
// The program's ways to run, chosen by its arguments: the game as it is (no arguments),
// the game recorded to a file, a recording shown again, or a recording checked.

#include <optional>
#include <string>
#include <vector>

#include "platform/lifetime.h"

namespace veldra {

// Usage: a mistake on the command line (the usage on standard error); Help and Version:
// asked for (on standard output).
// PrintSettings: the settings in force on standard output.
enum class RunMode { Play, Record, Replay, Verify, PrintSettings, Usage, Help, Version };

// What the command line says; a setting it leaves out comes from the settings file.
struct CommandLine {
  RunMode mode = RunMode::Play;
  std::string file;
  std::string configFile;  // --config FILE: read that settings file instead
  bool noConfig = false;   // --no-config: read none
  std::optional<platform::Colours> colours;  // --colours 16|256|24bit
  std::optional<bool> mouseOn;               // --no-mouse
  std::optional<int> mouseSpeed;             // --mouse-speed N
  std::optional<int> volume;                 // --volume N
};

// The arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// Runs the program, with the platform started and stopped around it, and returns its exit
// status: 0 after a game, a matching recording, --help or --version; 1 when a level is
// missing at start (from inside the game) or a recording plays out differently; 2 for a
// bad argument, a bad settings file or a recording that cannot be used.
int runProgram(const CommandLine& command);

}  // namespace veldra
