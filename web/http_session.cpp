// One HTTP connection: its requests read within bounds and answered with the page, the
// list of games, a refusal, or an upgrade to a game's WebSocket.

#include <optional>

#include "web/server_state.h"

namespace veldra::web {
namespace {

constexpr auto kRequestTime = std::chrono::seconds(30);  // to send a request's head and body
constexpr std::uint32_t kMostHeaderBytes = 8 * 1024;
constexpr std::uint64_t kMostBodyBytes = 16 * 1024;

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
      // The page's window, as it asks; a window no terminal has gets the usual 80 x 24.
      int columns = queryNumber(request, "columns", 80);
      int rows = queryNumber(request, "rows", 24);
      if (!windowSizeIsGood(columns, rows)) {
        columns = 80;
        rows = 24;
      }
      if (!startPlayer(server_, stream_, request, columns, rows)) {
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

}  // namespace

void serveConnection(Server& server, tcp::socket socket) { std::make_shared<HttpSession>(std::move(socket), server)->readRequest(); }

}  // namespace veldra::web
