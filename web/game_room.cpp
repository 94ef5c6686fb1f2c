#include "web/game_room.h"

#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <utility>

namespace veldra::web {

bool playerWasActive(const std::string& bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    if (bytes[at] != '\x1b' || at + 1 >= bytes.size() || bytes[at + 1] != '[') return true;
    std::size_t end = at + 2;
    while (end < bytes.size() && (bytes[end] < 0x40 || bytes[end] > 0x7E)) ++end;
    if (end >= bytes.size()) return true;
    const std::string parameters = bytes.substr(at + 2, end - at - 2);
    const char final = bytes[end];
    const bool answer = !parameters.empty() && parameters[0] == '?' &&
                        (final == 'c' || final == 'u' || (final == 'y' && parameters.back() == '$'));
    const bool focus = parameters.empty() && (final == 'I' || final == 'O');
    if (!answer && !focus) return true;
    at = end + 1;
  }
  return false;
}

GameRoom::GameRoom(asio::io_context& io, int id, GameProcess process, int columns, int rows,
                   Clock::duration idleLimit, std::function<void(int id)> ended)
    : io_(io),
      id_(id),
      process_(process),
      terminal_(io, process.terminal),
      columns_(columns),
      rows_(rows),
      started_(Clock::now()),
      lastActivity_(started_),
      idleLimit_(idleLimit),
      idleTimer_(io),
      killTimer_(io),
      ended_(std::move(ended)) {}

void GameRoom::start(std::shared_ptr<WebSocket> player) {
  player_ = player;
  readOutput();
  armIdleTimer();
}

void GameRoom::readOutput() {
  terminal_.async_read_some(asio::buffer(output_), [self = shared_from_this()](beast::error_code error, std::size_t count) {
    // The game's end closes its side of the terminal: the read fails once all it wrote is read.
    if (error) {
      self->finish();
      return;
    }
    auto bytes = std::make_shared<const std::string>(self->output_.data(), count);
    if (auto player = self->player_.lock()) player->send(bytes, false);
    for (const auto& weak : self->watchers_) {
      if (auto watcher = weak.lock()) watcher->send(bytes, false);
    }
    self->readOutput();
  });
}

void GameRoom::fromPlayer(bool text, const std::string& message) {
  if (finished_ || hungUp_) return;
  if (text) {
    std::istringstream words(message);
    std::string word;
    int columns = 0;
    int rows = 0;
    if (words >> word >> columns >> rows && word == "resize" && windowSizeIsGood(columns, rows) &&
        (columns != columns_ || rows != rows_)) {
      columns_ = columns;
      rows_ = rows;
      resizeGame(process_, columns, rows);
      const std::string size = "size " + std::to_string(columns) + " " + std::to_string(rows);
      for (const auto& weak : watchers_) {
        if (auto watcher = weak.lock()) watcher->sendText(size);
      }
    }
    return;
  }
  if (message.empty()) return;
  if (playerWasActive(message)) lastActivity_ = Clock::now();
  if (inputBytes_ + message.size() > kMostInputBytes) {
    // A page that sends faster than any player types is not a player's.
    if (auto player = player_.lock()) player->drop();
    return;
  }
  inputBytes_ += message.size();
  input_.push_back(message);
  writeInput();
}

void GameRoom::writeInput() {
  if (writingInput_ || input_.empty() || finished_) return;
  writingInput_ = true;
  asio::async_write(terminal_, asio::buffer(input_.front()), [self = shared_from_this()](beast::error_code error, std::size_t) {
    self->writingInput_ = false;
    if (error) return;  // the game is ending; its read says so
    self->inputBytes_ -= self->input_.front().size();
    self->input_.pop_front();
    self->writeInput();
  });
}

void GameRoom::armIdleTimer() {
  idleTimer_.expires_at(lastActivity_ + idleLimit_);
  idleTimer_.async_wait([self = shared_from_this()](beast::error_code error) {
    if (error || self->finished_ || self->hungUp_) return;
    if (Clock::now() < self->lastActivity_ + self->idleLimit_) {
      self->armIdleTimer();
      return;
    }
    if (auto player = self->player_.lock()) player->close(websocket::close_code::normal, "idle: nobody played for a while");
    self->hangUp();
  });
}

void GameRoom::playerGone() {
  player_.reset();
  hangUp();
}

bool GameRoom::addWatcher(const std::shared_ptr<WebSocket>& watcher) {
  if (finished_ || watchers_.size() >= kMostWatchers) return false;
  watchers_.push_back(watcher);
  watcher->sendText("size " + std::to_string(columns_) + " " + std::to_string(rows_));
  // The watcher came in the middle of the picture's changes: the game sends it whole.
  askForWholePicture(process_);
  tellPlayerTheWatchers();
  return true;
}

void GameRoom::watcherGone(const WebSocket* watcher) {
  std::erase_if(watchers_, [&](const std::weak_ptr<WebSocket>& weak) {
    const auto other = weak.lock();
    return !other || other.get() == watcher;
  });
  tellPlayerTheWatchers();
}

void GameRoom::tellPlayerTheWatchers() {
  if (auto player = player_.lock()) player->sendText("watchers " + std::to_string(watchers_.size()));
}

void GameRoom::hangUp() {
  if (hungUp_ || finished_) return;
  hungUp_ = true;
  idleTimer_.cancel();
  hangUpGame(process_, false);
  killTimer_.expires_after(kHangUpGrace);
  killTimer_.async_wait([self = shared_from_this()](beast::error_code error) {
    if (!error && !self->finished_) hangUpGame(self->process_, true);
  });
}

void GameRoom::processEnded() { process_.pid = -1; }

void GameRoom::finish() {
  if (finished_) return;
  finished_ = true;
  idleTimer_.cancel();
  killTimer_.cancel();
  beast::error_code ignored;
  terminal_.close(ignored);
  if (auto player = player_.lock()) player->close(websocket::close_code::normal, "the game is over");
  for (const auto& weak : watchers_) {
    if (auto watcher = weak.lock()) watcher->close(websocket::close_code::normal, "the game is over");
  }
  watchers_.clear();
  // A game that closed its terminal but lives on (it should not) is ended now.
  hangUpGame(process_, true);
  ended_(id_);
}

}  // namespace veldra::web
