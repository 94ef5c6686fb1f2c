#pragma once
// Getting bytes to the terminal. A terminal that stops taking output for a while (a
// non-blocking terminal whose reader has stalled) costs at most the patience per write: the
// rest of that write is dropped and the picture is sent whole next time, after a CAN that
// ends any escape sequence or character the cut left open. A blocking terminal simply
// blocks until it reads again, and nothing is lost.

#include <string>
#include <string_view>

#include "platform/console.h"
#include "platform/terminal/frame_encoder.h"

namespace veldra::platform::terminal {

constexpr int kOutputPatienceMs = 250;
constexpr char kCancel = '\x18';  // CAN: abandons an escape sequence in progress

// Writes all of `bytes` unless the descriptor takes nothing for `patienceMs` at a stretch
// or fails; false then, with part of the bytes perhaps written.
bool writeWithin(int fd, std::string_view bytes, int patienceMs);

// The picture as the terminal should show it, and whether the last frame was cut short.
struct FrameOutput {
  ScreenModel model;
  bool cut = false;
};

// Sends `before` (text waiting to go out), the frame and `after` in one write. False when
// the write was cut short; the next frame is then sent whole.
bool sendFrame(FrameOutput& output, int fd, std::string_view before, const CHAR_INFO* cells, int width, int height,
               std::string_view after, std::string& scratch, int patienceMs = kOutputPatienceMs);

// The same in two steps, so that what is printed over the frame goes in its write: the
// frame's bytes (after a CAN where the last was cut) into `bytes`, then, once the rest is
// appended, one write of them all.
void encodeFrameBytes(FrameOutput& output, std::string_view before, const CHAR_INFO* cells, int width, int height,
                      std::string_view after, std::string& bytes);
bool writeFrameBytes(FrameOutput& output, int fd, std::string_view bytes, int patienceMs = kOutputPatienceMs);

}  // namespace veldra::platform::terminal
