#pragma once
// Turns the bytes a terminal sends into a table of keys held down, in the game's
// virtual-key numbering. Pure: no system calls, so tests feed it bytes and times.
//
// Terminals speaking the kitty keyboard protocol report presses and releases of every key,
// lone modifiers included: those keys have an exact state. Elsewhere a terminal only sends
// characters, so a key counts as held for a while after each one: long enough after the
// first to bridge the keyboard's auto-repeat delay, shorter between repeats.

#include <cstdint>
#include <string>
#include <string_view>

namespace veldra::platform::terminal {

constexpr int kVirtualKeyCount = 256;
constexpr std::uint32_t kFirstPressHoldMs = 500;  // bridges the auto-repeat delay
constexpr std::uint32_t kRepeatHoldMs = 100;      // bridges the gap between repeats
constexpr std::uint32_t kLoneEscapeWaitMs = 5;    // an Esc byte alone this long is the Esc key
constexpr std::size_t kMaxPendingBytes = 64;      // longer unfinished sequences are dropped

struct KeyboardState {
  bool exactDown[kVirtualKeyCount] = {};
  std::uint32_t heldUntil[kVirtualKeyCount] = {};
  bool reportsReleases = false;  // the terminal sends key releases: presses are exact
  std::string pending;           // an escape sequence not finished yet
  std::uint32_t pendingSince = 0;
  bool interruptRequested = false;  // Ctrl+C arrived as a key event, not as a signal
  bool suspendRequested = false;    // Ctrl+Z likewise
};

// Decodes bytes that arrived at `now` (milliseconds). Split sequences are kept until the
// rest arrives; unknown sequences are ignored.
void feedInput(KeyboardState& state, std::string_view bytes, std::uint32_t now);

// True while an unfinished escape sequence waits for its rest.
bool awaitingMoreInput(const KeyboardState& state);

// Ends a wait: an Esc byte with nothing after it for kLoneEscapeWaitMs is the Esc key; any
// other unfinished sequence that old is dropped.
void settleInput(KeyboardState& state, std::uint32_t now);

// Whether the key is held at `now`.
bool keyIsDown(const KeyboardState& state, int virtualKey, std::uint32_t now);

// The request the terminal answers with its keyboard-protocol flags (for reportsReleases).
constexpr std::string_view kKeyboardProtocolQuery = "\x1b[?u";

}  // namespace veldra::platform::terminal
