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

void encodeFrameBytes(FrameOutput& output, std::string_view before, const CHAR_INFO* cells, int width, int height,
                      std::string_view after, std::string& bytes) {
  bytes.clear();
  if (output.cut) {
    bytes.push_back(kCancel);
    forgetScreen(output.model);
  }
  bytes += before;
  encodeFrame(output.model, cells, width, height, bytes);
  bytes += after;
}

bool writeFrameBytes(FrameOutput& output, int fd, std::string_view bytes, int patienceMs) {
  output.cut = !writeWithin(fd, bytes, patienceMs);
  if (output.cut) forgetScreen(output.model);
  return !output.cut;
}

bool sendFrame(FrameOutput& output, int fd, std::string_view before, const CHAR_INFO* cells, int width, int height,
               std::string_view after, std::string& scratch, int patienceMs) {
  encodeFrameBytes(output, before, cells, width, height, after, scratch);
  return writeFrameBytes(output, fd, scratch, patienceMs);
}

}  // namespace veldra::platform::terminal
