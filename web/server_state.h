#pragma once
// What the server's parts share: the server's state (the games by id, the connections
// counted), and the calls between the HTTP side and the games.

#include <csignal>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "web/game_room.h"
#include "web/options.h"
#include "web/page_files.h"
#include "web/pages.h"
#include "web/web_socket.h"

namespace veldra::web {

constexpr int kMostConnections = 1024;  // sockets of every kind at once

// Counts a connection for as long as it lives.
struct ConnectionSlot {
  explicit ConnectionSlot(int& count) : count_(count) { ++count_; }
  ~ConnectionSlot() { --count_; }
  ConnectionSlot(const ConnectionSlot&) = delete;
  ConnectionSlot& operator=(const ConnectionSlot&) = delete;
  int& count_;
};

struct Server {
  Server(const WebOptions& o, const PageFiles& f)
      : options(o), files(f), acceptor(io), children(io, SIGCHLD), stops(io, SIGINT, SIGTERM) {}

  const WebOptions& options;
  const PageFiles& files;
  asio::io_context io;
  tcp::acceptor acceptor;
  asio::signal_set children;
  asio::signal_set stops;
  std::map<int, std::shared_ptr<GameRoom>> games;
  int nextGameId = 1;
  int connections = 0;
  bool stopping = false;
  std::string recordingStamp;  // when the server started, in every recording's name
};

// ---- the games (games.cpp) ----

// Collects every game that ends, from now on.
void collectChildren(Server& server);

std::vector<GameListed> gamesListed(const Server& server);

// Starts a game in a window of that size for the player whose upgrade request this is, the
// stream becoming its WebSocket; false when no game could be started (the stream is left
// as it was).
bool startPlayer(Server& server, beast::tcp_stream& stream, const Request& request, int columns, int rows);

// Makes the stream a watcher's WebSocket of `game`; false when it has too many.
bool startWatcher(Server& server, beast::tcp_stream& stream, const Request& request, const std::shared_ptr<GameRoom>& game);

// ---- HTTP (http_session.cpp) ----

// Reads the connection's requests and answers them: pages, or an upgrade to a game.
void serveConnection(Server& server, tcp::socket socket);

}  // namespace veldra::web
