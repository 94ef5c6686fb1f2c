#pragma once
// veldra-web's command line: where it listens, how many games it holds, when an idle game
// ends, where games are recorded, and where the game, its levels and the page are.

#include <string>
#include <vector>

namespace veldra::web {

struct WebOptions {
  std::string address = "127.0.0.1";
  unsigned short port = 8080;
  int maxGames = 16;
  int idleMinutes = 10;
  std::string recordings;  // empty: games are not recorded
  std::string game;        // the game's binary
  std::string levels;      // the folder the game runs in
  std::string page;        // the folder of the page's files (web/ of the sources)
};

// Parses the arguments (without the program's name) over `options`, which holds the
// defaults. False with `error` set to the line to print for anything unknown or bad.
bool parseWebOptions(const std::vector<std::string>& arguments, WebOptions& options, std::string& error);

extern const char* const kWebUsage;

}  // namespace veldra::web
