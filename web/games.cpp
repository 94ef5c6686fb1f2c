// The games the server holds: started for players, watched, listed, collected when they end.

#include <iostream>

#include "web/server_state.h"

namespace veldra::web {
namespace {

std::string recordingName(Server& server, int id) {
  return server.options.recordings + "/veldra-" + server.recordingStamp + "-" + std::to_string(id) + ".vdm";
}

}  // namespace

std::vector<GameListed> gamesListed(const Server& server) {
  std::vector<GameListed> listed;
  for (const auto& [id, game] : server.games) {
    listed.push_back({id, game->columns(), game->rows(),
                      std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - game->started()), game->watcherCount()});
  }
  return listed;
}

void collectChildren(Server& server) {
  server.children.async_wait([&server](beast::error_code error, int) {
    if (error) return;
    for (pid_t pid = nextEndedGame(); pid > 0; pid = nextEndedGame()) {
      for (auto& [id, game] : server.games) {
        if (game->pid() == pid) game->processEnded();
      }
    }
    collectChildren(server);
  });
}

// Starts a game for the player whose upgrade request this is; false when none could be.
bool startPlayer(Server& server, beast::tcp_stream& stream, const Request& request, int columns, int rows) {
  const int id = server.nextGameId++;
  GameStart start{server.options.game, {"--config", server.options.page + "/" + kGameSettings}, server.options.levels,
                  columns, rows};
  if (!server.options.recordings.empty()) {
    start.arguments.push_back("--record");
    start.arguments.push_back(recordingName(server, id));
  }
  GameProcess process;
  std::string error;
  if (!startGame(start, process, error)) {
    std::cerr << "veldra-web: " << error << "\n";
    return false;
  }
  const auto idle = std::chrono::minutes(server.options.idleMinutes);
  auto game = std::make_shared<GameRoom>(server.io, id, process, columns, rows, idle, [&server](int ended) { server.games.erase(ended); });
  server.games[id] = game;
  auto slot = std::make_shared<ConnectionSlot>(server.connections);
  std::weak_ptr<GameRoom> weakGame = game;
  auto player = std::make_shared<WebSocket>(std::move(stream), WebSocket::Handlers{
      {},
      [weakGame](bool text, std::string message) {
        if (auto g = weakGame.lock()) g->fromPlayer(text, message);
      },
      [weakGame, slot] {
        if (auto g = weakGame.lock()) g->playerGone();
      }});
  game->start(player);
  player->accept(request);
  return true;
}

bool startWatcher(Server& server, beast::tcp_stream& stream, const Request& request, const std::shared_ptr<GameRoom>& game) {
  if (game->watcherCount() >= kMostWatchers) return false;
  auto slot = std::make_shared<ConnectionSlot>(server.connections);
  std::weak_ptr<GameRoom> weakGame = game;
  auto watcher = std::make_shared<WebSocket>(std::move(stream), WebSocket::Handlers{});
  std::weak_ptr<WebSocket> weakWatcher = watcher;
  // Given after the socket exists: the handlers name it.
  watcher->setHandlers({
      [weakGame, weakWatcher] {
        auto g = weakGame.lock();
        auto w = weakWatcher.lock();
        if (!g || !w || !g->addWatcher(w)) {
          if (w) w->close(websocket::close_code::try_again_later, g ? "too many watch this game" : "the game is over");
        }
      },
      [](bool, std::string) {},  // a watcher's keys go nowhere
      [weakGame, raw = watcher.get(), slot] {
        if (auto g = weakGame.lock()) g->watcherGone(raw);
      }});
  watcher->accept(request);
  return true;
}

}  // namespace veldra::web
