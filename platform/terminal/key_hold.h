#pragma once
// How long a key counts as held in a terminal that reports no releases, only the characters
// a key types: one when it goes down, then, if it stays down, more from the keyboard's
// auto-repeat after a delay and at an interval. A lone byte is a tap and holds its key only
// briefly; bytes that come at the auto-repeat's pace hold it from one repeat to the next.
// The delay and the interval are measured from the bytes themselves, so the hold fits the
// terminal in use. Pure: times are given in milliseconds by the caller.

#include <cstdint>

namespace veldra::platform::terminal {

constexpr std::uint32_t kTapHoldMs = 40;            // a tap: at most three frames
constexpr std::uint32_t kReadJitterMs = 25;         // bytes are stamped when a frame reads them
// Sane bounds of an auto-repeat delay. No common keyboard repeats sooner than 250 ms; the
// lower bound is that less a frame of read jitter, so that taps four to seven times a second
// stay taps.
constexpr std::uint32_t kMinRepeatDelayMs = 225;
constexpr std::uint32_t kMaxRepeatDelayMs = 1000;
constexpr std::uint32_t kMinRepeatIntervalMs = 10;  // and of the interval between repeats
constexpr std::uint32_t kMaxRepeatIntervalMs = 250;
constexpr std::uint32_t kUnmeasuredRepeatHoldMs = 150;  // before any interval was measured
// Before an interval was measured, bytes further apart than this are taps, not a run: a
// player taps up to seven times a second, and a keyboard repeats far faster.
constexpr std::uint32_t kLongestUnmeasuredIntervalMs = kUnmeasuredRepeatHoldMs - kReadJitterMs;

// The terminal's auto-repeat as measured so far; 0 while unknown.
struct RepeatTiming {
  std::uint32_t delayMs = 0;
  std::uint32_t intervalMs = 0;
};

// What the bytes of one key said so far.
struct HeldKey {
  bool seen = false;
  bool repeating = false;          // auto-repeat bytes are arriving
  bool runConfirmed = false;       // more than one came, or the first came on time
  std::uint32_t tentativeDelayMs = 0;  // from the press to the run's first byte
  std::uint32_t pressedAt = 0;     // the byte that began the current press
  std::uint32_t previousPressAt = 0;
  bool hadPreviousPress = false;
  std::uint32_t lastByteAt = 0;
  std::uint32_t runStartedAt = 0;  // the first auto-repeat of the current run
  std::uint32_t runRepeats = 0;    // repeats after that one
  std::uint32_t heldUntil = 0;
};

// A byte naming the key arrived at `now`. `afterOtherKey`: another key's byte came since this
// key's last one; keyboards repeat only the last key pressed, so this is a new press.
void noteKeyByte(HeldKey& key, RepeatTiming& timing, std::uint32_t now, bool afterOtherKey);

// Whether the bytes so far hold the key at `now`.
bool keyHeldAt(const HeldKey& key, std::uint32_t now);

// How long one auto-repeat holds its key, from the interval measured so far.
std::uint32_t repeatHoldMs(const RepeatTiming& timing);

}  // namespace veldra::platform::terminal
