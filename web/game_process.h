#pragma once
// One game on a pseudo-terminal of its own: started with fixed arguments in the levels
// folder, resized as the player's window is, told to hang up when the player goes.

#include <sys/types.h>

#include <string>
#include <vector>

namespace veldra::web {

struct GameProcess {
  pid_t pid = -1;
  int terminal = -1;  // the pseudo-terminal's master side, non-blocking, closed on exec
};

struct GameStart {
  std::string game;                // the binary
  std::vector<std::string> arguments;  // after the binary's name
  std::string folder;              // where it runs
  int columns = 80;
  int rows = 24;
};

// Starts the game; false (with `error`) when no pseudo-terminal or process could be had.
// The game sees TERM=xterm-256color and COLORTERM=truecolor, the rest of the server's
// environment but its X or Wayland display, no descriptor of the server's but its
// terminal, and the default action of every signal.
bool startGame(const GameStart& start, GameProcess& process, std::string& error);

// Tells the game its window's size (it hears of it as a terminal's resize).
void resizeGame(const GameProcess& process, int columns, int rows);

// Asks the game to draw its whole picture again (as after a resize), for a new watcher.
void askForWholePicture(const GameProcess& process);

// The player is gone: the game ends as on a terminal's hang-up (SIGHUP); `force` kills it.
void hangUpGame(const GameProcess& process, bool force);

// A game that has ended, collected; -1 when none has.
pid_t nextEndedGame();

// The window sizes a game is started or resized to: anything else is refused.
constexpr int kMostColumns = 1000;
constexpr int kMostRows = 500;
bool windowSizeIsGood(int columns, int rows);

}  // namespace veldra::web
