#pragma once
// The terminal as the game borrows it: the alternate screen for the picture, raw keyboard
// input, the keyboard protocol, and the promise to give all of it back on every way out
// (normal end, fatal path, SIGINT, SIGTERM, SIGHUP, crash signals; suspend and resume),
// and the mouse's reports while the game is up.

#include <string>
#include <vector>
#include <string_view>

#include "platform/lifetime.h"
#include "platform/mouse.h"
#include "platform/terminal/frame_encoder.h"
#include "platform/mouse_look.h"
#include "platform/terminal/output.h"
#include "platform/terminal/output_pacing.h"

namespace veldra::platform::terminal {

struct Session {
  bool outputIsTerminal = false;
  bool inputIsTerminal = false;
  int inputFd = -1;               // the terminal keys come from: standard input, else /dev/tty
  bool playing = false;           // the picture is up (alternate screen, raw input)
  bool keyboardProtocol = false;  // the kitty keyboard protocol was pushed
  MouseLook mouse;                // as the player chose
  MouseLookState mouseLook;       // the turn the pointer's motion makes, at the player's speed
  int cellWidthPixels = 0;        // as the last window-size query said; 0 where the terminal does not
  bool windowKnown = false;       // the last window-size query's answer, asked once a frame
  int windowColumns = 0;
  int windowRows = 0;
  bool cursorHidden = false;
  int textColumn = 0;             // where text written to standard output lands
  int textRow = 0;
  FrameOutput picture;           // what the terminal shows, and whether a frame was cut
  OutputPacing pacing;            // frames the terminal has not taken yet
  bool frameHeld = false;         // this frame was not sent (the terminal is behind): nor is its text
  std::vector<CHAR_INFO> fitted;  // a frame larger than the window, cut to it
  bool pictureCut = false;        // a frame was ever cut to fit
  std::string frameBytes;         // reused for every frame
  bool frameWaiting = false;      // frameBytes holds a frame not written yet (see flushConsoleText)
  std::uint32_t frameTicks = 0;   // when that frame was drawn
  std::string pendingText;        // console text not yet written (see flushConsoleText)
  std::string soundText;          // sound requests for the terminal, sent with the next write
  std::string transcript;         // plain lines written while the picture was up
};

// The session: not a terminal at all until startSession has run.
Session& session();

// Finds where keys come from and installs the signal handlers and the exit hook that give
// the terminal back. Once; the platform's start calls it.
void startSession(Colours colours, const MouseLook& mouse);

// Takes the terminal for play: alternate screen, raw input, keyboard protocol. Once.
void enterPlayMode();

// Gives the terminal back as it was and replays the plain lines written meanwhile. Safe to
// call more than once.
void restoreTerminal();

// Hides or shows the terminal's cursor (remembered, so it is shown again on every way out).
void setCursorHidden(bool hidden);

// Whether mouse reports were asked for (the game is up and the player wants the mouse).
bool mouseReportsAsked();

// Asks for mouse reports in pixels from now on (and again after a resume).
void usePixelMouseReports();

// True once after a resume or a resize: the picture must be sent whole.
bool takeRedrawRequest();

// Console text (cursor moves, colours, the message lines) is gathered and written in one go:
// before the process blocks (sleep, key wait), with the next frame, and on the way out.
void flushConsoleText();

// Writes out the records a recording holds in memory; async-signal-safe, for the signal
// handlers and the way out.
void writeOutWaitingRecords();

// Writes all bytes to a file descriptor, retrying short writes and waiting a while for a
// terminal that has stopped reading (after which the picture is sent whole next time).
void writeAll(int fd, std::string_view bytes);

}  // namespace veldra::platform::terminal
