#include "platform/terminal/terminal_session.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/backend/device.h"
#include "platform/terminal/key_decoder.h"
#include "platform/terminal/keyboard.h"

namespace veldra::platform::terminal {
namespace {

constexpr const char* kEnterAlternateScreen = "\x1b[?1049h\x1b[H\x1b[2J";
constexpr const char* kLeaveAlternateScreen = "\x1b[?1049l";
constexpr const char* kHideCursor = "\x1b[?25l";
constexpr const char* kShowCursor = "\x1b[?25h";
constexpr const char* kResetColours = "\x1b[0m";
// The keyboard, taken for play (takeKeyboard) and given back as one: the kitty keyboard
// protocol with flags 1|2|8 (disambiguate, report event types, report all keys as escape
// codes: presses, repeats and releases of every key, lone modifiers too), then the query
// that asks which flags the terminal took; focus reports, so that keys held when the window
// loses the focus do not stay down (and so that the X server's keys are read only while the
// terminal has it); and win32-input-mode, in which Windows Terminal and its kin send every
// key's press and release. Then the question whether the terminal plays sound itself. A
// terminal ignores what it does not know.
constexpr const char* kPushKeyboardProtocol = "\x1b[>11u";
// The same with the alternate keys (4): each key also names the US layout's key in its
// place, for a player who reads letters by where they sit.
constexpr const char* kPushKeyboardProtocolWithPlaces = "\x1b[>15u";
constexpr const char* kTakeFocusAndWin32Keys = "\x1b[?1004h\x1b[?9001h";
constexpr const char* kGiveKeyboardBack = "\x1b[?9001l\x1b[?1004l\x1b[<u";
// The mouse: every motion and every press and release reported (any-event tracking, 1003)
// in SGR form (1006), which has no limit on the column and tells which button was released;
// and the question whether reports can come in pixels (1016), for a finer turn.
constexpr const char* kTakeMouse = "\x1b[?1003h\x1b[?1006h\x1b[?1016$p";
constexpr const char* kPixelMouseReports = "\x1b[?1016h";
constexpr const char* kGiveMouseBack = "\x1b[?1016l\x1b[?1006l\x1b[?1003l";

// What a signal handler may touch: plain buffers written before the handlers can run.
struct SignalSafeState {
  volatile sig_atomic_t playing = 0;
  volatile sig_atomic_t cursorHidden = 0;
  volatile sig_atomic_t keyboardProtocol = 0;
  volatile sig_atomic_t mouse = 0;        // mouse reports were asked for
  volatile sig_atomic_t pixelMouse = 0;   // in pixels
  volatile sig_atomic_t haveSavedInput = 0;
  volatile sig_atomic_t redrawRequested = 0;
  bool outputIsTerminal = false;
  int inputFd = -1;
  termios savedInput{};
  termios playInput{};
};

SignalSafeState signalState;

void writeRaw(std::string_view text) { writeAll(STDOUT_FILENO, text); }

// Async-signal-safe, as writeRaw is.
void takeKeyboard() {
  writeRaw(platform::lettersByPosition() ? kPushKeyboardProtocolWithPlaces : kPushKeyboardProtocol);
  writeRaw(kKeyboardProtocolQuery);
  writeRaw(kTakeFocusAndWin32Keys);
  writeRaw(kTerminalSoundQuery);
}

// Async-signal-safe: only write(2) and tcsetattr(3).
void giveBackTerminal() {
  if (signalState.outputIsTerminal) {
    writeRaw(kEndSynchronized);
    if (signalState.playing && signalState.keyboardProtocol) {
      writeRaw(kGiveKeyboardBack);
    }
    if (signalState.playing && signalState.mouse) writeRaw(kGiveMouseBack);
    writeRaw(kResetColours);
    if (signalState.cursorHidden) writeRaw(kShowCursor);
    if (signalState.playing) writeRaw(kLeaveAlternateScreen);
  }
  if (signalState.haveSavedInput) ::tcsetattr(signalState.inputFd, TCSAFLUSH, &signalState.savedInput);
}

// Async-signal-safe: takes the terminal again after a resume.
void retakeTerminal() {
  if (!signalState.playing) {
    if (signalState.outputIsTerminal && signalState.cursorHidden) writeRaw(kHideCursor);
    return;
  }
  if (signalState.haveSavedInput) ::tcsetattr(signalState.inputFd, TCSAFLUSH, &signalState.playInput);
  if (signalState.outputIsTerminal) {
    writeRaw(kEnterAlternateScreen);
    if (signalState.keyboardProtocol) takeKeyboard();
    if (signalState.mouse) writeRaw(kTakeMouse);
    if (signalState.pixelMouse) writeRaw(kPixelMouseReports);
    if (signalState.cursorHidden) writeRaw(kHideCursor);
  }
  signalState.redrawRequested = 1;
}

void installHandler(int signalNumber, void (*handler)(int)) {
  struct sigaction action{};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(signalNumber, &action, nullptr);
}

// Raises the signal again with its default action. A handler runs with its own signal
// blocked, so it is unblocked first: the default action then happens at once.
void raiseWithDefaultAction(int signalNumber) {
  std::signal(signalNumber, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signalNumber);
  ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
  ::raise(signalNumber);
}

void onFatalSignal(int signalNumber) {
  writeOutWaitingRecords();
  giveBackTerminal();
  raiseWithDefaultAction(signalNumber);
}

void onSuspend(int) {
  const int savedErrno = errno;
  giveBackTerminal();
  raiseWithDefaultAction(SIGTSTP);
  // The process stopped there; it goes on here after SIGCONT.
  installHandler(SIGTSTP, onSuspend);
  retakeTerminal();
  errno = savedErrno;
}

void onResize(int) { signalState.redrawRequested = 1; }

void installHandlers() {
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
    installHandler(signalNumber, onFatalSignal);
  }
  installHandler(SIGTSTP, onSuspend);
  installHandler(SIGWINCH, onResize);
}

// An exit from the middle of a game leaves its recorder unclosed: what it recorded is kept.
void restoreAtExit() {
  writeOutWaitingRecords();
  restoreTerminal();
}

// Keys come from standard input when it is a terminal; otherwise (input redirected, or
// started from a script) from the process's controlling terminal, if it has one.
int openKeyboardInput() {
  if (::isatty(STDIN_FILENO) == 1) return STDIN_FILENO;
  const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::isatty(fd) == 1) return fd;
  ::close(fd);
  return -1;
}

}  // namespace

Session& session() {
  static Session* instance = new Session;  // lives until the process ends, after every exit hook
  return *instance;
}

namespace {

// The mode asked for, or the one the terminal's environment names.
ColourMode colourModeOf(Colours colours) {
  switch (colours) {
    case Colours::Sixteen: return ColourMode::Sixteen;
    case Colours::Palette256: return ColourMode::Palette256;
    case Colours::TrueColour: return ColourMode::TrueColour;
    case Colours::AsTerminalSays: break;
  }
  return colourModeFor(std::getenv("COLORTERM"), std::getenv("TERM"));
}

}  // namespace

void startSession(Colours colours, const MouseLook& mouse) {
  static bool started = false;
  if (started) return;
  started = true;
  Session& s = session();
  s.picture.model.colours = colourModeOf(colours);
  s.mouse = mouse;
  s.mouseLook = mouseLookFor(mouse);
  s.outputIsTerminal = ::isatty(STDOUT_FILENO) == 1;
  s.inputFd = openKeyboardInput();
  s.inputIsTerminal = s.inputFd >= 0;
  signalState.inputFd = s.inputFd;
  signalState.outputIsTerminal = s.outputIsTerminal;
  installHandlers();
  std::atexit(restoreAtExit);
}

void writeAll(int fd, std::string_view bytes) {
  // Lines and mode changes wait longer than a frame would for a stalled terminal.
  if (!writeWithin(fd, bytes, 4 * kOutputPatienceMs)) session().picture.cut = true;
}

void enterPlayMode() {
  Session& s = session();
  if (s.playing) return;
  s.playing = true;
  if (s.inputIsTerminal && ::tcgetattr(s.inputFd, &signalState.savedInput) == 0) {
    termios raw = signalState.savedInput;
    // No echo, no line editing; Ctrl+C still interrupts. Output processing stays on so a
    // line end still returns the carriage.
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR);
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    signalState.playInput = raw;
    signalState.haveSavedInput = 1;
    ::tcsetattr(s.inputFd, TCSAFLUSH, &raw);
  }
  if (s.outputIsTerminal) {
    writeAll(STDOUT_FILENO, kEnterAlternateScreen);
    // Each mode is noted before it is asked for: a suspend that comes between the two then
    // still gives it back and asks for it again on resume.
    if (s.inputIsTerminal) {
      s.keyboardProtocol = true;
      signalState.keyboardProtocol = 1;
      takeKeyboard();
      if (s.mouse.on) {
        signalState.mouse = 1;
        writeAll(STDOUT_FILENO, kTakeMouse);
      }
    }
    if (s.cursorHidden) writeAll(STDOUT_FILENO, kHideCursor);
  }
  signalState.playing = 1;
  s.textColumn = 0;
  s.textRow = 0;
  forgetScreen(s.picture.model);
}

void flushConsoleText() {
  Session& s = session();
  if (s.frameWaiting) {
    s.frameWaiting = false;
    s.frameBytes += s.pendingText;
    s.frameBytes += s.soundText;
    s.pendingText.clear();
    s.soundText.clear();
    if (writeFrameBytes(s.picture, STDOUT_FILENO, s.frameBytes)) frameWentOut(s.pacing, s.frameTicks);
    return;
  }
  // Sounds wait with a held frame, for the terminal to catch up; they are never dropped.
  if (!s.frameHeld) {
    s.pendingText += s.soundText;
    s.soundText.clear();
  }
  if (s.pendingText.empty()) return;
  if (s.frameHeld) {
    // The frame's text goes with its frame; the cells it covered are redrawn with the next.
    s.pendingText.clear();
    s.picture.model.attribute = kUnknownAttribute;
    return;
  }
  writeAll(STDOUT_FILENO, s.pendingText);
  s.pendingText.clear();
}

void restoreTerminal() {
  Session& s = session();
  s.frameHeld = false;
  flushConsoleText();
  if (s.playing) awaitOwedAnswers();
  giveBackTerminal();
  const bool wasPlaying = s.playing;
  s.playing = false;
  s.keyboardProtocol = false;
  s.cursorHidden = false;
  signalState.playing = 0;
  signalState.keyboardProtocol = 0;
  signalState.mouse = 0;
  signalState.pixelMouse = 0;
  signalState.cursorHidden = 0;
  signalState.haveSavedInput = 0;
  if (wasPlaying && !s.transcript.empty()) {
    writeAll(STDOUT_FILENO, s.transcript);
    s.transcript.clear();
  }
}

void usePixelMouseReports() {
  if (!signalState.mouse || signalState.pixelMouse) return;
  signalState.pixelMouse = 1;  // first, as in enterPlayMode
  writeAll(STDOUT_FILENO, kPixelMouseReports);
}

bool mouseReportsAsked() { return signalState.mouse != 0; }

bool takeRedrawRequest() {
  if (!signalState.redrawRequested) return false;
  signalState.redrawRequested = 0;
  return true;
}

void setCursorHidden(bool hidden) {
  Session& s = session();
  s.cursorHidden = hidden;
  signalState.cursorHidden = hidden ? 1 : 0;
  if (s.outputIsTerminal) writeAll(STDOUT_FILENO, hidden ? kHideCursor : kShowCursor);
}

}  // namespace veldra::platform::terminal

namespace veldra::platform::device {

void start(Colours colours, const MouseLook& mouse) { terminal::startSession(colours, mouse); }
void beginPlay() { terminal::enterPlayMode(); }
void stop() { terminal::restoreTerminal(); }

}  // namespace veldra::platform::device
