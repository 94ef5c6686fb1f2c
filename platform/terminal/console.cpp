// Console output on a POSIX terminal: frames become escape sequences, one write each.

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

#include "platform/console.h"
#include "platform/backend/device.h"
#include "platform/lifetime.h"
#include "platform/process.h"
#include "platform/terminal/frame_encoder.h"
#include "platform/terminal/terminal_session.h"

namespace veldra::platform {
namespace {

using terminal::Session;
using terminal::session;

// Follows text written at the cursor so the frame model knows which cells it covered.
void trackText(Session& s, std::string_view text, int windowRows) {
  for (char c : text) {
    if (c == '\n') {
      s.textColumn = 0;
      if (++s.textRow >= windowRows) {
        // The terminal scrolled: nothing on screen is where the model thinks.
        s.textRow = windowRows - 1;
        terminal::forgetScreen(s.picture.model);
      }
    } else if (c == '\r') {
      s.textColumn = 0;
    } else {
      terminal::forgetCells(s.picture.model, s.textColumn, s.textRow, 1);
      ++s.textColumn;
    }
  }
}

// The window's size for what is written in a frame: as the window said at the top of the
// frame (a replay's frame record holds the recorded window, not this one), unless it was
// resized since: then it is asked again.
bool windowForFrame(ConsoleHandle output, bool resized, int& columns, int& rows) {
  const Session& s = session();
  if (resized || !s.windowKnown) return device::consoleWindowSize(output, columns, rows);
  columns = s.windowColumns;
  rows = s.windowRows;
  return true;
}

// A frame larger than the window would wrap its rows: its top-left part that fits is sent.
// True when `cells`, `width` and `height` now name that part.
bool fitToWindow(Session& s, ConsoleHandle output, bool resized, const CHAR_INFO*& cells, int& width, int& height) {
  int columns = 0;
  int rows = 0;
  if (!windowForFrame(output, resized, columns, rows) || (width <= columns && height <= rows)) return false;
  const int fittedWidth = std::min(width, columns);
  const int fittedHeight = std::min(height, rows);
  s.fitted.resize(static_cast<std::size_t>(fittedWidth) * static_cast<std::size_t>(fittedHeight));
  for (int row = 0; row < fittedHeight; ++row) {
    std::copy_n(cells + static_cast<std::ptrdiff_t>(row) * width, fittedWidth,
                s.fitted.begin() + static_cast<std::ptrdiff_t>(row) * fittedWidth);
  }
  cells = s.fitted.data();
  width = fittedWidth;
  height = fittedHeight;
  s.pictureCut = true;
  return true;
}

}  // namespace

ConsoleHandle standardOutputHandle() { return STDOUT_FILENO; }

bool device::consoleWindowSize(ConsoleHandle output, int& columns, int& rows) {
  if (!session().outputIsTerminal) return false;
  winsize size{};
  session().windowKnown = false;
  if (::ioctl(output, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) return false;
  columns = size.ws_col;
  rows = size.ws_row;
  Session& s = session();
  s.cellWidthPixels = size.ws_xpixel / size.ws_col;
  s.windowKnown = true;
  s.windowColumns = columns;
  s.windowRows = rows;
  return true;
}

bool device::getConsoleCursorInfo(ConsoleHandle, CursorInfo& info) {
  const Session& s = session();
  if (!s.outputIsTerminal) return false;
  info.size = 25;
  info.visible = !s.cursorHidden;
  return true;
}

bool device::setConsoleCursorInfo(ConsoleHandle, const CursorInfo& info) {
  if (!session().outputIsTerminal) return false;
  terminal::setCursorHidden(!info.visible);
  return true;
}

bool device::writeConsoleCells(ConsoleHandle output, const CHAR_INFO* cells, int width, int height) {
  Session& s = session();
  if (!s.outputIsTerminal) return false;
  // A terminal behind the game is not sent this frame: the game goes on, and the next frame
  // that goes out is the difference from what the terminal was last sent.
  terminal::flushConsoleText();  // a frame drawn before and never flushed goes first
  const std::uint32_t now = device::tickCount();
  s.frameHeld = !terminal::frameMayGo(s.pacing, now);
  if (s.frameHeld) return true;
  const bool resized = terminal::takeRedrawRequest();
  if (resized) terminal::forgetScreen(s.picture.model);
  fitToWindow(s, output, resized, cells, width, height);
  // Text still waiting goes first; a cell write leaves the text cursor where it was. The
  // pacing's query follows the frame. The frame waits for what is printed over it (the
  // message lines): all of it goes out in one write when the frame is done.
  std::string after;
  terminal::appendCursorPosition(after, s.textColumn, s.textRow);
  if (s.pacing.asking) after += terminal::kPacingQuery;
  terminal::encodeFrameBytes(s.picture, s.pendingText, cells, width, height, after, s.frameBytes);
  s.pendingText.clear();
  s.frameWaiting = true;
  s.frameTicks = now;
  return true;
}

bool device::setConsoleCursorPosition(ConsoleHandle, int column, int row) {
  Session& s = session();
  if (!s.outputIsTerminal) return false;
  s.textColumn = column;
  s.textRow = row;
  terminal::appendCursorPosition(s.pendingText, column, row);
  return true;
}

bool device::setConsoleTextAttribute(ConsoleHandle, std::uint16_t attribute) {
  Session& s = session();
  if (!s.outputIsTerminal) return false;
  terminal::appendAttribute(s.pendingText, attribute, s.picture.model.colours);
  s.picture.model.attribute = attribute & 0xFF;
  return true;
}

void device::writeConsoleText(ConsoleHandle output, std::string_view text) {
  Session& s = session();
  if (!s.outputIsTerminal) return;  // text over the picture means nothing in a file or pipe
  if (s.playing) {
    int columns = 0;
    int rows = 0;
    if (!windowForFrame(output, false, columns, rows)) {
      columns = 0;
      rows = 1;
    }
    // Text over the picture that would run past the window's right edge is cut there.
    const bool overPicture = text.find('\n') == std::string_view::npos && columns > 0;
    if (overPicture && (s.textRow >= rows || s.textColumn >= columns)) return;
    if (overPicture) text = text.substr(0, static_cast<std::size_t>(columns - s.textColumn));
    trackText(s, text, rows);
  }
  s.pendingText.append(text);
}

bool device::pictureWasCut() { return session().pictureCut; }

// A terminal that takes no frames for long takes no sounds either: beyond this many bytes
// waiting (about a thousand tones) new ones are dropped, being late already.
constexpr std::size_t kMostWaitingSoundBytes = 1 << 16;

void device::sendSoundToConsole(const SoundRequest& request) {
  Session& s = session();
  if (s.outputIsTerminal && s.soundText.size() < kMostWaitingSoundBytes) terminal::appendSoundRequest(s.soundText, request);
}

void device::writeStandardOutputBytes(std::string_view text) { terminal::writeAll(STDOUT_FILENO, text); }

void device::writeStandardOutput(std::string_view text) {
  Session& s = session();
  // The picture's screen goes away at the end; its plain lines are shown again after it.
  if (!s.outputIsTerminal) {
    terminal::writeAll(STDOUT_FILENO, text);
    return;
  }
  if (s.playing) s.transcript.append(text);
  s.frameHeld = false;  // a plain line goes out whatever the picture does
  writeConsoleText(STDOUT_FILENO, text);
  terminal::flushConsoleText();
}

}  // namespace veldra::platform
