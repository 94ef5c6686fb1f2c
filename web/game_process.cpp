#include "web/game_process.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace veldra::web {
namespace {

// The server's environment with the terminal's names set and no display: the keys are the
// page's, never this machine's X server's.
std::vector<std::string> gameEnvironment() {
  std::vector<std::string> names{"TERM=xterm-256color", "COLORTERM=truecolor"};
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view variable(*entry);
    const std::string_view name = variable.substr(0, variable.find('='));
    if (name != "TERM" && name != "COLORTERM" && name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "WINDOWID") {
      names.emplace_back(variable);
    }
  }
  return names;
}

std::vector<char*> pointersTo(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] void becomeGame(const char* game, char* const* argv, char* const* envp, const char* folder) {
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  for (int signalNumber = 1; signalNumber < NSIG; ++signalNumber) ::signal(signalNumber, SIG_DFL);
  // The server's sockets and other games' terminals are not the game's business.
  const long most = ::sysconf(_SC_OPEN_MAX);
  for (int fd = 3; fd < (most > 0 && most < 65536 ? most : 65536); ++fd) ::close(fd);
  if (::chdir(folder) != 0) ::_exit(127);
  ::execve(game, argv, envp);
  ::_exit(127);
}

}  // namespace

bool windowSizeIsGood(int columns, int rows) {
  return columns >= 1 && columns <= kMostColumns && rows >= 1 && rows <= kMostRows;
}

bool startGame(const GameStart& start, GameProcess& process, std::string& error) {
  // Everything the child needs is made before the fork: after it only plain calls.
  std::vector<std::string> words{start.game};
  words.insert(words.end(), start.arguments.begin(), start.arguments.end());
  const std::vector<char*> argv = pointersTo(words);
  std::vector<std::string> environment = gameEnvironment();
  const std::vector<char*> envp = pointersTo(environment);
  winsize size{};
  size.ws_col = static_cast<unsigned short>(start.columns);
  size.ws_row = static_cast<unsigned short>(start.rows);
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, &size);
  if (pid < 0) {
    error = std::string("no pseudo-terminal for a game: ") + std::strerror(errno);
    return false;
  }
  if (pid == 0) becomeGame(start.game.c_str(), argv.data(), envp.data(), start.folder.c_str());
  ::fcntl(master, F_SETFD, FD_CLOEXEC);
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  process.pid = pid;
  process.terminal = master;
  return true;
}

void resizeGame(const GameProcess& process, int columns, int rows) {
  winsize size{};
  size.ws_col = static_cast<unsigned short>(columns);
  size.ws_row = static_cast<unsigned short>(rows);
  ::ioctl(process.terminal, TIOCSWINSZ, &size);
}

void askForWholePicture(const GameProcess& process) {
  if (process.pid > 0) ::kill(process.pid, SIGWINCH);
}

void hangUpGame(const GameProcess& process, bool force) {
  if (process.pid > 0) ::kill(process.pid, force ? SIGKILL : SIGHUP);
}

pid_t nextEndedGame() {
  int status = 0;
  const pid_t pid = ::waitpid(-1, &status, WNOHANG);
  return pid > 0 ? pid : -1;
}

}  // namespace veldra::web
