#pragma once
// A game being played: its process and terminal, its player's socket and its watchers'.
// What the game draws goes to all of them; what the player sends goes to the game; what a
// watcher sends goes nowhere.

#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "web/game_process.h"
#include "web/web_socket.h"

namespace veldra::web {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kMostWatchers = 64;             // a game's watchers at once
constexpr std::size_t kMostInputBytes = 256 * 1024;   // input the game has not read yet
constexpr auto kHangUpGrace = std::chrono::seconds(5);  // then a game that did not end is killed

class GameRoom : public std::enable_shared_from_this<GameRoom> {
 public:
  GameRoom(asio::io_context& io, int id, GameProcess process, int columns, int rows, Clock::duration idleLimit,
           std::function<void(int id)> ended);

  // Starts reading the game's output and counting idle time.
  void start(std::shared_ptr<WebSocket> player);

  // The player's messages: binary frames are bytes for the game; text frames say
  // "resize COLUMNS ROWS".
  void fromPlayer(bool text, const std::string& message);
  void playerGone();

  bool addWatcher(const std::shared_ptr<WebSocket>& watcher);  // false: too many
  void watcherGone(const WebSocket* watcher);

  // The server is stopping, or the player is gone: the game is told to hang up.
  void hangUp();

  // The game's process ended (collected by the server).
  void processEnded();

  int id() const { return id_; }
  pid_t pid() const { return process_.pid; }
  int columns() const { return columns_; }
  int rows() const { return rows_; }
  Clock::time_point started() const { return started_; }
  std::size_t watcherCount() const { return watchers_.size(); }

 private:
  void readOutput();
  void writeInput();
  void armIdleTimer();
  void tellPlayerTheWatchers();
  void finish();

  asio::io_context& io_;
  int id_;
  GameProcess process_;
  asio::posix::stream_descriptor terminal_;
  std::array<char, 64 * 1024> output_{};
  std::deque<std::string> input_;
  std::size_t inputBytes_ = 0;
  bool writingInput_ = false;
  std::weak_ptr<WebSocket> player_;
  std::vector<std::weak_ptr<WebSocket>> watchers_;
  int columns_;
  int rows_;
  Clock::time_point started_;
  Clock::time_point lastActivity_;
  Clock::duration idleLimit_;
  asio::steady_timer idleTimer_;
  asio::steady_timer killTimer_;
  bool hungUp_ = false;
  bool finished_ = false;
  std::function<void(int id)> ended_;
};

// Whether bytes from the page are the player's doing (keys, the mouse, a paste) rather than
// only the terminal's answers to the game's questions, which come whether anyone plays.
bool playerWasActive(const std::string& bytes);

}  // namespace veldra::web
