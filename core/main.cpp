// The program: print where the levels are looked for, build the game, run it.

#include "core/game.h"
#include "core/game_loop.h"
#include "platform/process.h"
#include "platform/console.h"

int main() {
  using namespace veldra;
  const std::string directory = platform::currentDirectory();
  platform::writeStandardOutput("Engine working directory:\n");
  platform::writeStandardOutput(directory);
  platform::writeStandardOutput("\\axismundi.txt\n");
  {
    Game game;
    runGameLoop(game);
  }
  return 0;
}
