#include "platform/terminal/key_hold.h"

#include <algorithm>

namespace veldra::platform::terminal {
namespace {

// Tick counts wrap; differences of them do not.
bool before(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) < 0; }

std::uint32_t clampDelay(std::uint32_t ms) { return std::clamp(ms, kMinRepeatDelayMs, kMaxRepeatDelayMs); }

bool plausibleDelay(std::uint32_t ms) { return ms >= kMinRepeatDelayMs && ms <= kMaxRepeatDelayMs + kReadJitterMs; }

// Whether a byte this long after the key's press is its first auto-repeat. Once the
// delay is known, a byte well before it is a second tap instead.
bool firstRepeatAfter(std::uint32_t sincePress, const RepeatTiming& timing) {
  if (timing.delayMs == 0) return plausibleDelay(sincePress);
  const std::uint32_t tolerance = timing.delayMs / 4 + kReadJitterMs;
  const std::uint32_t earliest = std::max(kMinRepeatDelayMs, timing.delayMs - std::min(timing.delayMs, tolerance));
  return sincePress >= earliest && sincePress <= timing.delayMs * 3 / 2 + kReadJitterMs;
}

// Whether a byte this long after the last one goes on with an auto-repeat run.
bool continuesRun(std::uint32_t sinceLastByte, const RepeatTiming& timing) {
  const std::uint32_t slowest = kMaxRepeatIntervalMs + kReadJitterMs;
  const std::uint32_t longest =
      timing.intervalMs == 0 ? kLongestUnmeasuredIntervalMs : std::min(slowest, 2 * timing.intervalMs + kReadJitterMs);
  return sinceLastByte <= longest;
}

void startRun(HeldKey& key, std::uint32_t now, bool confirmed) {
  key.repeating = true;
  key.runConfirmed = confirmed;
  key.runStartedAt = now;
  key.runRepeats = 0;
}

// The interval is the run's average: bytes are stamped at frame reads, so single gaps
// are coarse, but their mean over a run is not.
void measureInterval(HeldKey& key, RepeatTiming& timing, std::uint32_t now) {
  ++key.runRepeats;
  if (key.runRepeats < 2) return;
  const std::uint32_t mean = (now - key.runStartedAt) / key.runRepeats;
  timing.intervalMs = std::clamp(mean, kMinRepeatIntervalMs, kMaxRepeatIntervalMs);
}

void beginPress(HeldKey& key, std::uint32_t now) {
  key.previousPressAt = key.pressedAt;
  key.hadPreviousPress = key.seen;
  key.pressedAt = now;
  key.repeating = false;
  key.heldUntil = now + kTapHoldMs;
}

}  // namespace

std::uint32_t repeatHoldMs(const RepeatTiming& timing) {
  if (timing.intervalMs == 0) return kUnmeasuredRepeatHoldMs;
  return timing.intervalMs + timing.intervalMs / 4 + kReadJitterMs;
}

void noteKeyByte(HeldKey& key, RepeatTiming& timing, std::uint32_t now, bool afterOtherKey) {
  if (afterOtherKey) {
    beginPress(key, now);
  } else if (key.seen && key.repeating) {
    if (continuesRun(now - key.lastByteAt, timing)) {
      // A second repeat confirms the run, and the delay its first one showed.
      if (key.runRepeats == 0 && key.tentativeDelayMs != 0) timing.delayMs = key.tentativeDelayMs;
      key.runConfirmed = true;
      measureInterval(key, timing, now);
    } else {
      // A run that never went past its first byte was a second press after all.
      if (!key.runConfirmed) key.pressedAt = key.runStartedAt;
      beginPress(key, now);
    }
  } else if (key.seen && firstRepeatAfter(now - key.pressedAt, timing)) {
    // Perhaps a second tap: until another repeat follows, or where the delay is known and
    // this byte came on time, it holds its key only as a tap does.
    key.tentativeDelayMs = clampDelay(now - key.pressedAt);
    startRun(key, now, timing.delayMs != 0);
  } else if (key.seen && !before(key.heldUntil, now)) {
    // A byte while the key is still held is a repeat whose delay was not recognised (a
    // delay measured wrong before): the press before this one shows the delay.
    if (key.hadPreviousPress && plausibleDelay(key.pressedAt - key.previousPressAt)) {
      timing.delayMs = key.pressedAt - key.previousPressAt;
    }
    key.tentativeDelayMs = 0;
    startRun(key, now, true);
  } else {
    beginPress(key, now);
  }
  key.seen = true;
  key.lastByteAt = now;
  if (key.repeating) key.heldUntil = now + (key.runConfirmed ? repeatHoldMs(timing) : kTapHoldMs);
}

bool keyHeldAt(const HeldKey& key, std::uint32_t now) { return key.seen && before(now, key.heldUntil); }

}  // namespace veldra::platform::terminal
