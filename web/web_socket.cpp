#include "web/web_socket.h"

#include <utility>

namespace veldra::web {

WebSocket::WebSocket(beast::tcp_stream stream, Handlers handlers)
    : ws_(std::move(stream)), handlers_(std::move(handlers)) {}

void WebSocket::accept(Request request) {
  beast::get_lowest_layer(ws_).expires_never();  // the WebSocket's own timeouts from here
  websocket::stream_base::timeout timeouts = websocket::stream_base::timeout::suggested(beast::role_type::server);
  timeouts.idle_timeout = std::chrono::seconds(60);  // pinged after half of it: a page gone is noticed
  timeouts.keep_alive_pings = true;
  ws_.set_option(timeouts);
  ws_.read_message_max(kMostMessageBytes);
  ws_.auto_fragment(false);
  ws_.async_accept(request, [self = shared_from_this()](beast::error_code error) {
    if (error) {
      self->end();
      return;
    }
    if (self->ended_) return;
    self->open_ = true;
    if (self->handlers_.opened) self->handlers_.opened();
    self->readNext();
    self->writeNext();
  });
}

void WebSocket::readNext() {
  if (ended_) return;
  ws_.async_read(incoming_, [self = shared_from_this()](beast::error_code error, std::size_t) {
    if (self->ended_) return;
    if (error) {
      self->end();
      return;
    }
    std::string message = beast::buffers_to_string(self->incoming_.data());
    self->incoming_.consume(self->incoming_.size());
    if (self->handlers_.received) self->handlers_.received(self->ws_.got_text(), std::move(message));
    self->readNext();
  });
}

void WebSocket::send(std::shared_ptr<const std::string> message, bool text) {
  if (ended_ || closing_) return;
  if (queuedBytes_ + message->size() > kMostQueuedBytes) {
    drop();
    return;
  }
  queuedBytes_ += message->size();
  queue_.push_back({std::move(message), text});
  writeNext();
}

void WebSocket::sendText(std::string message) { send(std::make_shared<const std::string>(std::move(message)), true); }

void WebSocket::writeNext() {
  if (!open_ || writing_ || ended_) return;
  if (queue_.empty()) {
    if (!closing_) return;
    writing_ = true;
    ws_.async_close(closeReason_, [self = shared_from_this()](beast::error_code) { self->end(); });
    return;
  }
  writing_ = true;
  ws_.text(queue_.front().text);
  ws_.async_write(asio::buffer(*queue_.front().bytes), [self = shared_from_this()](beast::error_code error, std::size_t) {
    self->writing_ = false;
    if (error) {
      self->end();
      return;
    }
    self->queuedBytes_ -= self->queue_.front().bytes->size();
    self->queue_.pop_front();
    self->writeNext();
  });
}

void WebSocket::close(websocket::close_code code, std::string reason) {
  if (ended_ || closing_) return;
  closing_ = true;
  closeReason_ = websocket::close_reason(code, reason);
  if (!open_) {
    drop();
    return;
  }
  writeNext();
}

void WebSocket::drop() {
  if (ended_) return;
  beast::error_code ignored;
  beast::get_lowest_layer(ws_).socket().shutdown(tcp::socket::shutdown_both, ignored);
  beast::get_lowest_layer(ws_).socket().close(ignored);
  end();
}

void WebSocket::end() {
  if (ended_) return;
  ended_ = true;
  queue_.clear();
  queuedBytes_ = 0;
  beast::error_code ignored;
  beast::get_lowest_layer(ws_).socket().close(ignored);
  // The handlers hold what owns this socket: they are let go once, after the handler that
  // ended it has returned.
  asio::post(ws_.get_executor(), [self = shared_from_this()] {
    Handlers handlers = std::move(self->handlers_);
    self->handlers_ = {};
    if (handlers.gone) handlers.gone();
  });
}

}  // namespace veldra::web
