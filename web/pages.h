#pragma once
// The server's own little pages: the list of games, and the refusals.

#include <chrono>
#include <string>
#include <vector>

namespace veldra::web {

struct GameListed {
  int id = 0;
  int columns = 0;
  int rows = 0;
  std::chrono::seconds playing{0};
  std::size_t watchers = 0;
};

std::string watchListPage(const std::vector<GameListed>& games);
std::string serverFullPage(int maxGames);
std::string notFoundPage();
std::string refusedPage(const std::string& why);

}  // namespace veldra::web
