#include "platform/terminal/output.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace veldra::platform::terminal {

bool writeWithin(int fd, std::string_view bytes, int patienceMs) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd ready{fd, POLLOUT, 0};
      int result = 0;
      do {
        result = ::poll(&ready, 1, patienceMs);
      } while (result < 0 && errno == EINTR);
      if (result > 0 && (ready.revents & POLLOUT)) continue;
    }
    return false;  // stalled past the patience, or the terminal is gone
  }
  return true;
}

bool sendFrame(FrameOutput& output, int fd, std::string_view before, const CHAR_INFO* cells, int width, int height,
               std::string_view after, std::string& scratch, int patienceMs) {
  scratch.clear();
  if (output.cut) {
    scratch.push_back(kCancel);
    forgetScreen(output.model);
  }
  scratch += before;
  encodeFrame(output.model, cells, width, height, scratch);
  scratch += after;
  output.cut = !writeWithin(fd, scratch, patienceMs);
  if (output.cut) forgetScreen(output.model);
  return !output.cut;
}

}  // namespace veldra::platform::terminal
