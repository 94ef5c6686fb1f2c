#pragma once
// One page's WebSocket, a player's or a watcher's: messages in (bounded in size), messages
// out through a queue bounded in bytes. A page that stops reading is dropped once the
// queue is full; one that sends a frame too large or not a frame at all is dropped at once.
// Nothing it does reaches another connection.

// Boost 1.74's Asio uses std::exchange without including <utility> (under C++20).
#include <utility>

#include <boost/asio.hpp>
#include <boost/beast.hpp>

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace veldra::web {

namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace asio = boost::asio;
using tcp = asio::ip::tcp;

using Request = http::request<http::string_body>;

constexpr std::size_t kMostMessageBytes = 64 * 1024;        // keys, a resize, a paste
constexpr std::size_t kMostQueuedBytes = 8 * 1024 * 1024;   // output a page has not taken

class WebSocket : public std::enable_shared_from_this<WebSocket> {
 public:
  struct Handlers {
    std::function<void()> opened;                              // the handshake is done
    std::function<void(bool text, std::string message)> received;
    std::function<void()> gone;                                // closed, dropped or failed; once
  };

  WebSocket(beast::tcp_stream stream, Handlers handlers);

  void setHandlers(Handlers handlers) { handlers_ = std::move(handlers); }

  // Answers the upgrade request; the handlers run from then on.
  void accept(Request request);

  // Queues a message; over the bound the connection is dropped instead.
  void send(std::shared_ptr<const std::string> message, bool text);
  void sendText(std::string message);

  // Closes once what is queued has gone, telling the page why.
  void close(websocket::close_code code, std::string reason);

  // Ends the connection at once.
  void drop();

 private:
  void readNext();
  void writeNext();
  void end();

  struct Outgoing {
    std::shared_ptr<const std::string> bytes;
    bool text = false;
  };

  websocket::stream<beast::tcp_stream> ws_;
  Handlers handlers_;
  beast::flat_buffer incoming_;
  std::deque<Outgoing> queue_;
  std::size_t queuedBytes_ = 0;
  bool open_ = false;
  bool writing_ = false;
  bool closing_ = false;
  bool ended_ = false;
  websocket::close_reason closeReason_;
};

}  // namespace veldra::web
