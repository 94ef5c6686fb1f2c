// Clock and process services on POSIX.

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/backend/device.h"
#include "platform/lifetime.h"
#include "platform/process.h"
#include "platform/terminal/terminal_session.h"

namespace veldra::platform {

std::uint32_t device::tickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void device::sleepMilliseconds(std::uint32_t milliseconds) {
  terminal::flushConsoleText();
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string currentDirectory() {
  // Grows the buffer until the whole path fits, however deep the directory.
  std::vector<char> buffer(256);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  return std::string(buffer.data());
}

std::string defaultSettingsFile() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/veldra/veldra.toml";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config/veldra/veldra.toml";
  return std::string();
}

void device::waitForKey() {
  terminal::flushConsoleText();
  // The terminal keys come from: standard input, else the controlling terminal.
  const int input = terminal::session().inputFd;
  if (input < 0) return;
  termios saved{};
  if (::tcgetattr(input, &saved) != 0) return;
  termios raw = saved;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  ::tcsetattr(input, TCSAFLUSH, &raw);
  char byte = 0;
  while (::read(input, &byte, 1) < 0 && errno == EINTR) {
  }
  ::tcsetattr(input, TCSAFLUSH, &saved);
}

void writeStandardError(std::string_view text) {
  terminal::flushConsoleText();
  terminal::writeAll(STDERR_FILENO, text);
}

void exitProcess(int status) {
  terminal::restoreTerminal();
  std::exit(status);
}

}  // namespace veldra::platform
