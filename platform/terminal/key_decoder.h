#pragma once
// Turns the bytes a terminal sends into a table of keys held down, in the game's
// virtual-key numbering. Pure: no system calls, so tests feed it bytes and times.
//
// Terminals speaking the kitty keyboard protocol, or win32-input-mode (Windows Terminal and
// its kin), report presses and releases of every key, lone modifiers included: those keys
// have an exact state. Elsewhere a terminal only sends
// characters, and key_hold.h decides how long each one holds its key. A caller that knows
// the exact state from elsewhere (the X server's keyboard map) hands it over per read; the
// bytes then only latch presses.
//
// Mouse reports in SGR form (any-event tracking) move the pointer and press and release the
// buttons, which read as the keys vk::kLeftButton and vk::kRightButton.
//
// Every read of the table begins with beginRead: a press that arrived since the last read
// counts as down in this one even if its release came too, so no tap goes unseen.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/keyboard.h"
#include "platform/terminal/key_hold.h"

namespace veldra::platform::terminal {

constexpr std::uint32_t kLoneEscapeWaitMs = 5;    // an Esc byte alone this long is the Esc key
constexpr std::size_t kMaxPendingBytes = 64;      // longer unfinished sequences are dropped

// Whether the terminal has the keyboard focus, as its focus reports say.
enum class TerminalFocus { Unknown, In, Out };

// The mouse as its SGR reports tell it: the buttons (exact in every terminal that reports
// them, since a release is reported too) and where the pointer is across the window.
struct PointerState {
  bool leftDown = false;
  bool rightDown = false;
  bool known = false;         // a report has said where the pointer is since the last jump
  double column = 0.0;        // 0-based; fractional where reports come in pixels
  double columnsMoved = 0.0;  // sideways since takePointerMotion, rightwards positive
  int cellWidthPixels = 0;    // > 0 once reports come in pixels (SGR-pixel mode)
  bool pixelReportsOffered = false;  // the terminal said it has SGR-pixel reports
};

struct KeyboardState {
  bool exactDown[kVirtualKeyCount] = {};
  bool latched[kVirtualKeyCount] = {};  // a press arrived since the previous read
  HeldKey held[kVirtualKeyCount];       // what the bytes of each key said, without releases
  bool heldOnce[kVirtualKeyCount] = {};  // a legacy byte came for the key (only its hold can hold it)
  RepeatTiming repeatTiming;
  int lastByteKey = -1;                 // the key the last legacy byte named
  bool reportsReleases = false;  // the terminal sends key releases: presses are exact
  bool win32Events = false;      // win32-input-mode events arrive: every key is exact
  TerminalFocus focus = TerminalFocus::Unknown;
  bool stateFromOutside = false;  // exactDown comes from setOutsideKeys, not from the bytes
  std::string pending;           // an escape sequence not finished yet
  std::uint32_t pendingSince = 0;
  PointerState pointer;
  int deviceAttributeAnswers = 0;  // answers to the pacing query (CSI c) not yet taken
  bool interruptRequested = false;  // Ctrl+C arrived as a key event, not as a signal
  bool suspendRequested = false;    // Ctrl+Z likewise
  // Keys of the main block read by where they sit (the US layout's key in that place)
  // wherever the bytes say it: kitty's base-layout key, win32-input-mode's scan code.
  bool keysByPosition = false;
  bool playsSound = false;  // the terminal said it plays sound itself (kTerminalSoundQuery)
};

// Starts a read of the table: the presses latched for the last one are forgotten.
void beginRead(KeyboardState& state);

// The exact key state as another source sees it for this read (nullptr: none any more).
void setOutsideKeys(KeyboardState& state, const bool (*keys)[kVirtualKeyCount]);

// Decodes bytes that arrived at `now` (milliseconds). Split sequences are kept until the
// rest arrives; unknown sequences are ignored.
void feedInput(KeyboardState& state, std::string_view bytes, std::uint32_t now);

// True while an unfinished escape sequence waits for its rest.
bool awaitingMoreInput(const KeyboardState& state);

// Ends a wait: an Esc byte with nothing after it for kLoneEscapeWaitMs is the Esc key; any
// other unfinished sequence that old is dropped.
void settleInput(KeyboardState& state, std::uint32_t now);

// Whether the bytes so far give every key's exact state (a keyboard protocol's events).
bool bytesAreExact(const KeyboardState& state);

// Whether the key is held at `now`.
bool keyIsDown(const KeyboardState& state, int virtualKey, std::uint32_t now);
// The same for every key at once, as a frame reads them: the holds of keys no legacy byte
// ever named are not looked at.
void readKeysDown(const KeyboardState& state, std::uint32_t now, bool (&keys)[kVirtualKeyCount]);

// Reports from now on come in pixels, cells this wide; the next report places the pointer
// without counting as motion.
void usePixelReports(KeyboardState& state, int cellWidthPixels);

// The pointer's sideways motion since the last call, in columns.
double takePointerMotion(KeyboardState& state);

// The request the terminal answers with its keyboard-protocol flags (for reportsReleases).
constexpr std::string_view kKeyboardProtocolQuery = "\x1b[?u";
// The question whether the terminal plays sound itself: a mode query of a private mode of
// ours, which a terminal drawn in a browser page answers as set (CSI ? 7707 ; 1 $ y). Any
// other terminal says it does not know the mode, or nothing.
constexpr int kTerminalSoundMode = 7707;
constexpr std::string_view kTerminalSoundQuery = "\x1b[?7707$p";

}  // namespace veldra::platform::terminal
