// Keyboard state on a POSIX terminal: the input that arrived since the last frame is read
// once per frame into the key-state table; key tests then read the table only. Under X11,
// a terminal that reports no key releases still has exact key state: the X server's.

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <utility>

#include "platform/backend/device.h"
#include "platform/terminal/key_decoder.h"
#include "platform/terminal/keyboard.h"
#include "platform/mouse_look.h"
#include "platform/terminal/terminal_session.h"
#include "platform/terminal/x11_keyboard.h"

namespace veldra::platform::device {
namespace {

terminal::KeyboardState keyboard;
std::uint32_t frameTime = 0;
bool serverKeys[kVirtualKeyCount];

// Reads whatever is waiting, without blocking.
void drainInput(std::uint32_t now) {
  char buffer[512];
  for (;;) {
    const ssize_t count = ::read(terminal::session().inputFd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return;
    terminal::feedInput(keyboard, std::string_view(buffer, static_cast<std::size_t>(count)), now);
    if (static_cast<std::size_t>(count) < sizeof buffer) return;
  }
}

bool inputArrivesWithin(int milliseconds) {
  pollfd input{terminal::session().inputFd, POLLIN, 0};
  return ::poll(&input, 1, milliseconds) > 0;
}

// Where the terminal tells no releases, the X server's key map is the key state while the
// terminal has the focus; the terminal's bytes then only latch quick taps. True when the
// server's keys were taken.
bool takeServerKeys() {
  const bool fromServer = !terminal::bytesAreExact(keyboard) &&
                          terminal::readX11Keys(serverKeys, keyboard.focus == terminal::TerminalFocus::In);
  if (fromServer) terminal::setOutsideKeys(keyboard, &serverKeys);
  else if (keyboard.stateFromOutside) terminal::setOutsideKeys(keyboard, nullptr);
  return fromServer;
}

// Reports in pixels turn the view finer; they are asked for once the terminal has said it
// has them and the window says how wide a cell is.
void takePixelReportsWhereOffered(int cellWidthPixels) {
  if (!keyboard.pointer.pixelReportsOffered || cellWidthPixels <= 0) return;
  if (keyboard.pointer.cellWidthPixels == 0) terminal::usePixelMouseReports();
  terminal::usePixelReports(keyboard, cellWidthPixels);
}

}  // namespace

void readMouse(FrameInput& input) {
  if (!terminal::mouseReportsAsked() || !input.console) return;
  terminal::Session& s = terminal::session();
  takePixelReportsWhereOffered(s.cellWidthPixels);
  input.mouseTurn = turnForMotion(s.mouseLook, terminal::takePointerMotion(keyboard));
  input.pointerEdge = static_cast<std::int8_t>(pointerEdge(keyboard.pointer.known, keyboard.pointer.column, input.columns));
}

bool keyboardAvailable() { return terminal::session().inputIsTerminal; }

bool consolePlaysSound() { return keyboard.playsSound; }

bool readKeyboard(std::array<bool, kVirtualKeyCount>& keys) {
  keys.fill(false);
  if (!terminal::session().inputIsTerminal) return false;
  terminal::beginRead(keyboard);
  keyboard.keysByPosition = lettersByPosition();
  frameTime = tickCount();
  drainInput(frameTime);
  // An Esc byte may be the Esc key or the start of a sequence whose rest is on its way.
  if (terminal::awaitingMoreInput(keyboard)) {
    if (inputArrivesWithin(static_cast<int>(terminal::kLoneEscapeWaitMs))) drainInput(tickCount());
    frameTime = tickCount();
    terminal::settleInput(keyboard, frameTime);
  }
  terminal::answersArrived(terminal::session().pacing, std::exchange(keyboard.deviceAttributeAnswers, 0), frameTime);
  const bool exact = takeServerKeys() || terminal::bytesAreExact(keyboard);
  // With every key reported as an event, Ctrl+C and Ctrl+Z no longer reach the terminal
  // driver as signals; raise them here so they keep their usual meaning.
  if (keyboard.interruptRequested) {
    keyboard.interruptRequested = false;
    ::raise(SIGINT);
  }
  if (keyboard.suspendRequested) {
    keyboard.suspendRequested = false;
    ::raise(SIGTSTP);
  }
  bool down[kVirtualKeyCount];
  terminal::readKeysDown(keyboard, frameTime, down);
  std::copy(std::begin(down), std::end(down), keys.begin());
  return exact;
}

}  // namespace veldra::platform::device

namespace veldra::platform::terminal {

// Over a thin link the answers to the last frames' queries are a round trip away.
constexpr int kLongestAnswerWaitMs = 1000;

void awaitOwedAnswers() {
  OutputPacing& pacing = session().pacing;
  if (!session().inputIsTerminal || !pacing.asking || !pacing.answered) return;
  const std::uint32_t began = device::tickCount();
  while (pacing.unanswered > 0) {
    const auto waited = static_cast<int>(device::tickCount() - began);
    if (waited >= kLongestAnswerWaitMs || !device::inputArrivesWithin(kLongestAnswerWaitMs - waited)) return;
    device::drainInput(device::tickCount());
    answersArrived(pacing, std::exchange(device::keyboard.deviceAttributeAnswers, 0), device::tickCount());
  }
}

}  // namespace veldra::platform::terminal
