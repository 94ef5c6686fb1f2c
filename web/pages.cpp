#include "web/pages.h"

namespace veldra::web {
namespace {

std::string page(const std::string& title, const std::string& body) {
  return "<!doctype html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" + title +
         "</title><style>body{background:#000;color:#aaa;font:16px monospace;margin:2em}"
         "a{color:#5ff}h1{color:#ff5;font-size:1.4em}</style></head>\n<body><h1>" +
         title + "</h1>\n" + body + "</body></html>\n";
}

std::string duration(std::chrono::seconds seconds) {
  const auto minutes = seconds.count() / 60;
  if (minutes < 1) return "under a minute";
  return std::to_string(minutes) + (minutes == 1 ? " minute" : " minutes");
}

}  // namespace

std::string watchListPage(const std::vector<GameListed>& games) {
  if (games.empty()) return page("Veldra: games being played", "<p>No game is being played now. <a href=\"/\">Play one</a>.</p>\n");
  std::string list = "<ul>\n";
  for (const GameListed& game : games) {
    const std::string id = std::to_string(game.id);
    list += "<li><a href=\"/watch/" + id + "\">Game " + id + "</a>: " + std::to_string(game.columns) + " x " +
            std::to_string(game.rows) + ", played for " + duration(game.playing) + ", " +
            std::to_string(game.watchers) + " watching</li>\n";
  }
  return page("Veldra: games being played", list + "</ul>\n<p><a href=\"/\">Play a game of your own</a>.</p>\n");
}

std::string serverFullPage(int maxGames) {
  return page("Veldra: every game is taken",
              "<p>This server holds " + std::to_string(maxGames) +
                  (maxGames == 1 ? " game" : " games") +
                  " at once, and all are being played. Try again in a while, or "
                  "<a href=\"/watch\">watch one</a>.</p>\n");
}

std::string notFoundPage() {
  return page("Veldra: nothing here", "<p>There is no such page, or the game has ended. <a href=\"/watch\">The games being played</a>.</p>\n");
}

std::string refusedPage(const std::string& why) { return page("Veldra: refused", "<p>" + why + "</p>\n"); }

}  // namespace veldra::web
