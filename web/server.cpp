#include "web/server.h"

#include <unistd.h>

#include <csignal>
#include <ctime>
#include <iostream>

#include "web/server_state.h"

namespace veldra::web {
namespace {

constexpr auto kStopGrace = std::chrono::seconds(3);  // for the games to end when the server stops

void acceptNext(Server& server) {
  server.acceptor.async_accept([&server](beast::error_code error, tcp::socket socket) {
    if (error) {
      if (!server.stopping) acceptNext(server);
      return;
    }
    // Over the bound a connection is closed at once: no game or page is harmed by a crowd.
    if (server.connections < kMostConnections) serveConnection(server, std::move(socket));
    acceptNext(server);
  });
}

constexpr auto kStopCheck = std::chrono::milliseconds(50);

void awaitGamesEnded(Server& server, asio::steady_timer& grace, Clock::time_point deadline) {
  if (server.games.empty() || Clock::now() >= deadline) {
    server.io.stop();
    return;
  }
  grace.expires_after(kStopCheck);
  grace.async_wait([&server, &grace, deadline](beast::error_code) { awaitGamesEnded(server, grace, deadline); });
}

void stopServing(Server& server, asio::steady_timer& grace) {
  server.stopping = true;
  beast::error_code ignored;
  server.acceptor.close(ignored);
  for (auto& [id, game] : server.games) game->hangUp();
  const auto deadline = Clock::now() + kStopGrace;
  awaitGamesEnded(server, grace, deadline);
}

bool listen(Server& server) {
  beast::error_code error;
  const auto address = asio::ip::make_address(server.options.address, error);
  if (error) {
    std::cerr << "veldra-web: " << server.options.address << ": not an IP address\n";
    return false;
  }
  const tcp::endpoint endpoint(address, server.options.port);
  server.acceptor.open(endpoint.protocol(), error);
  if (!error) server.acceptor.set_option(asio::socket_base::reuse_address(true), error);
  if (!error) server.acceptor.bind(endpoint, error);
  if (!error) server.acceptor.listen(asio::socket_base::max_listen_connections, error);
  if (error) {
    std::cerr << "veldra-web: cannot listen on " << server.options.address << ":" << server.options.port << ": "
              << error.message() << "\n";
    return false;
  }
  return true;
}

std::string timeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  ::localtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
  return text + std::string("-") + std::to_string(::getpid());
}

}  // namespace

int runServer(const WebOptions& options, const PageFiles& files) {
  std::signal(SIGPIPE, SIG_IGN);  // a page gone mid-write is an error code, not the end
  Server server(options, files);
  server.recordingStamp = timeStamp();
  if (!listen(server)) return 1;
  std::cout << "veldra-web: serving http://" << options.address << ":" << server.acceptor.local_endpoint().port()
            << "/ (" << options.maxGames << " games at most)" << std::endl;
  collectChildren(server);
  asio::steady_timer grace(server.io);
  server.stops.async_wait([&server, &grace](beast::error_code error, int) {
    if (!error) stopServing(server, grace);
  });
  acceptNext(server);
  server.io.run();
  for (auto& [id, game] : server.games) hangUpGame({game->pid(), -1}, true);
  return 0;
}

}  // namespace veldra::web
