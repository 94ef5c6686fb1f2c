#pragma once
// The program's ways to run, chosen by its arguments: the game as it is (no arguments),
// the game recorded to a file, a recording shown again, or a recording checked.

#include <string>
#include <vector>

#include "platform/lifetime.h"

namespace veldra {

// Usage: a mistake on the command line (the usage on standard error); Help and Version:
// asked for (on standard output).
enum class RunMode { Play, Record, Replay, Verify, Usage, Help, Version };

struct CommandLine {
  RunMode mode = RunMode::Play;
  std::string file;
  platform::Colours colours = platform::Colours::AsTerminalSays;  // --colours 16|256|24bit
  platform::MouseLook mouse;  // --no-mouse, --mouse-speed N
};

// The arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// Runs the program, with the platform started and stopped around it, and returns its exit
// status: 0 after a game, a matching recording, --help or --version; 1 when a level is
// missing at start (from inside the game) or a recording plays out differently; 2 for a
// bad argument or a recording that cannot be used.
int runProgram(const CommandLine& command);

}  // namespace veldra
