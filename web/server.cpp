#include "web/server.h"

#include <unistd.h>

#include <csignal>
#include <ctime>
#include <iostream>
#include <map>
#include <memory>
#include <optional>

#include "web/game_room.h"
#include "web/pages.h"
#include "web/web_socket.h"

namespace veldra::web {
namespace {

constexpr int kMostConnections = 1024;                 // sockets of every kind at once
constexpr auto kRequestTime = std::chrono::seconds(30);  // to send a request's head and body
constexpr std::uint32_t kMostHeaderBytes = 8 * 1024;
constexpr std::uint64_t kMostBodyBytes = 16 * 1024;
constexpr auto kStopGrace = std::chrono::seconds(3);   // for the games to end when the server stops

struct Server;

// Counts a connection for as long as it lives.
struct ConnectionSlot {
  explicit ConnectionSlot(int& count) : count_(count) { ++count_; }
  ~ConnectionSlot() { --count_; }
  ConnectionSlot(const ConnectionSlot&) = delete;
  ConnectionSlot& operator=(const ConnectionSlot&) = delete;
  int& count_;
};

struct Server {
  Server(const WebOptions& o, const PageFiles& f) : options(o), files(f), acceptor(io), children(io, SIGCHLD), stops(io, SIGINT, SIGTERM) {}

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

// ---- requests ----

std::string pathOf(const Request& request) {
  const std::string target(request.target());
  return target.substr(0, target.find('?'));
}

// A number from the request's query (name=digits), or `fallback`.
int queryNumber(const Request& request, const std::string& name, int fallback) {
  const std::string target(request.target());
  const std::size_t query = target.find('?');
  if (query == std::string::npos) return fallback;
  const std::string wanted = name + "=";
  for (std::size_t at = query + 1; at < target.size();) {
    const std::size_t end = std::min(target.find('&', at), target.size());
    const std::string pair = target.substr(at, end - at);
    if (pair.rfind(wanted, 0) == 0) {
      const std::string digits = pair.substr(wanted.size());
      if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) return fallback;
      return std::stoi(digits);
    }
    at = end + 1;
  }
  return fallback;
}

// A browser says which page opened the socket: only this server's own pages may play here
// (another site's page would play with its visitor's connection). Programs that are not
// browsers send no origin.
bool originIsGood(const Request& request) {
  const auto origin = request[http::field::origin];
  if (origin.empty()) return true;
  const std::string host(request[http::field::host]);
  if (host.empty()) return false;
  const auto lower = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  const std::string said = lower(std::string(origin));
  return said == "http://" + lower(host) || said == "https://" + lower(host);
}

http::response<http::string_body> respond(const Request& request, http::status status, const std::string& type, std::string body) {
  http::response<http::string_body> response{status, request.version()};
  response.set(http::field::server, "veldra-web");
  response.set(http::field::content_type, type);
  response.set(http::field::cache_control, "no-cache");
  response.set("X-Content-Type-Options", "nosniff");
  response.keep_alive(request.keep_alive());
  if (request.method() != http::verb::head) response.body() = std::move(body);
  response.prepare_payload();
  return response;
}

std::string recordingName(Server& server, int id) {
  return server.options.recordings + "/veldra-" + server.recordingStamp + "-" + std::to_string(id) + ".vdm";
}

// ---- the games ----

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
bool startPlayer(Server& server, beast::tcp_stream& stream, const Request& request) {
  int columns = queryNumber(request, "columns", 80);
  int rows = queryNumber(request, "rows", 24);
  if (!windowSizeIsGood(columns, rows)) {
    columns = 80;
    rows = 24;
  }
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

// ---- HTTP ----

class HttpSession : public std::enable_shared_from_this<HttpSession> {
 public:
  HttpSession(tcp::socket socket, Server& server) : stream_(std::move(socket)), server_(server), slot_(server.connections) {}

  void readRequest() {
    parser_.emplace();
    parser_->header_limit(kMostHeaderBytes);
    parser_->body_limit(kMostBodyBytes);
    stream_.expires_after(kRequestTime);
    http::async_read(stream_, buffer_, *parser_, [self = shared_from_this()](beast::error_code error, std::size_t) {
      if (error) {
        self->close();
        return;
      }
      self->route(self->parser_->release());
    });
  }

 private:
  void route(Request request) {
    const std::string path = pathOf(request);
    if (websocket::is_upgrade(request)) {
      upgrade(std::move(request), path);
      return;
    }
    if (request.method() != http::verb::get && request.method() != http::verb::head) {
      reply(respond(request, http::status::method_not_allowed, "text/html; charset=utf-8", refusedPage("Only pages are served here.")));
      return;
    }
    if (path == "/" && static_cast<int>(server_.games.size()) >= server_.options.maxGames) {
      reply(respond(request, http::status::service_unavailable, "text/html; charset=utf-8", serverFullPage(server_.options.maxGames)));
      return;
    }
    if (path == "/watch") {
      reply(respond(request, http::status::ok, "text/html; charset=utf-8", watchListPage(gamesListed(server_))));
      return;
    }
    if (path.rfind("/watch/", 0) == 0) {
      const bool known = gameNamed(path) != nullptr;
      const PageFile& index = server_.files.at("/");
      reply(known ? respond(request, http::status::ok, index.contentType, index.body)
                  : respond(request, http::status::not_found, "text/html; charset=utf-8", notFoundPage()));
      return;
    }
    const auto file = server_.files.find(path);
    if (file == server_.files.end()) {
      reply(respond(request, http::status::not_found, "text/html; charset=utf-8", notFoundPage()));
      return;
    }
    reply(respond(request, http::status::ok, file->second.contentType, file->second.body));
  }

  std::shared_ptr<GameRoom> gameNamed(const std::string& path) {
    const std::string digits = path.substr(std::string("/watch/").size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return nullptr;
    const auto game = server_.games.find(std::stoi(digits));
    return game == server_.games.end() ? nullptr : game->second;
  }

  void upgrade(Request request, const std::string& path) {
    const auto refuse = [&](http::status status, const std::string& body) {
      auto response = respond(request, status, "text/html; charset=utf-8", body);
      response.keep_alive(false);
      reply(std::move(response));
    };
    if (server_.stopping) return refuse(http::status::service_unavailable, refusedPage("The server is stopping."));
    if (!originIsGood(request)) return refuse(http::status::forbidden, refusedPage("Games are played from this server's own page."));
    stream_.expires_never();
    if (path == "/play") {
      if (static_cast<int>(server_.games.size()) >= server_.options.maxGames) {
        return refuse(http::status::service_unavailable, serverFullPage(server_.options.maxGames));
      }
      if (!startPlayer(server_, stream_, request)) {
        return refuse(http::status::internal_server_error, refusedPage("No game could be started."));
      }
      return;
    }
    if (path.rfind("/watch/", 0) == 0) {
      const auto game = gameNamed(path);
      if (!game) return refuse(http::status::not_found, notFoundPage());
      if (!startWatcher(server_, stream_, request, game)) {
        return refuse(http::status::service_unavailable, refusedPage("Too many watch this game."));
      }
      return;
    }
    refuse(http::status::not_found, notFoundPage());
  }

  void reply(http::response<http::string_body> response) {
    auto shared = std::make_shared<http::response<http::string_body>>(std::move(response));
    http::async_write(stream_, *shared, [self = shared_from_this(), shared](beast::error_code error, std::size_t) {
      if (error || !shared->keep_alive()) {
        self->close();
        return;
      }
      self->readRequest();
    });
  }

  void close() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    stream_.close();
  }

  beast::tcp_stream stream_;
  Server& server_;
  ConnectionSlot slot_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
};

void acceptNext(Server& server) {
  server.acceptor.async_accept([&server](beast::error_code error, tcp::socket socket) {
    if (error) {
      if (!server.stopping) acceptNext(server);
      return;
    }
    // Over the bound a connection is closed at once: no game or page is harmed by a crowd.
    if (server.connections < kMostConnections) std::make_shared<HttpSession>(std::move(socket), server)->readRequest();
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
