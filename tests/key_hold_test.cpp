// Keys of a terminal that reports no releases, read the way the game reads them: once a
// frame, with the bytes stamped at the read. A tap must stay short enough to aim with; a
// held key must act without a break once the keyboard's auto-repeat starts, at whatever
// delay and pace the terminal repeats.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/terminal/key_decoder.h"

namespace veldra::platform::terminal {
namespace {

constexpr std::uint32_t kFrameMs = 17;  // a 16 ms sleep and a little work
using vk::kUp;
using vk::kRight;
constexpr double kTurnPerFrame = 0.05;
constexpr double kStepPerFrame = 0.12;

struct Byte {
  std::uint32_t at;
  std::string text;
};

// What a terminal sends while a key is held from `pressAt` to `releaseAt`: one byte at once,
// then auto-repeats after `delay`, every `interval`.
std::vector<Byte> typed(const std::string& text, std::uint32_t pressAt, std::uint32_t releaseAt, std::uint32_t delay,
                        std::uint32_t interval) {
  std::vector<Byte> bytes{{pressAt, text}};
  for (std::uint32_t t = pressAt + delay; t < releaseAt; t += interval) bytes.push_back({t, text});
  return bytes;
}

std::vector<Byte> merged(std::vector<Byte> a, const std::vector<Byte>& b) {
  a.insert(a.end(), b.begin(), b.end());
  std::stable_sort(a.begin(), a.end(), [](const Byte& x, const Byte& y) { return x.at < y.at; });
  return a;
}

// The frames from `from` to `until`, each read once: which of them saw `key` down.
struct Reading {
  std::vector<std::uint32_t> frameTimes;
  std::vector<bool> down;
  int framesDown() const { return static_cast<int>(std::count(down.begin(), down.end(), true)); }
  // The time of the first and last frame that saw the key down (0 when none did).
  std::uint32_t firstDown() const {
    for (std::size_t i = 0; i < down.size(); ++i) if (down[i]) return frameTimes[i];
    return 0;
  }
  std::uint32_t lastDown() const {
    for (std::size_t i = down.size(); i-- > 0;) if (down[i]) return frameTimes[i];
    return 0;
  }
  // Whether every frame from the first down to the last was down.
  bool unbroken() const {
    const auto first = std::find(down.begin(), down.end(), true);
    const auto last = std::find(down.rbegin(), down.rend(), true).base();
    return std::all_of(first, last, [](bool d) { return d; });
  }
};

Reading readFrames(KeyboardState& state, const std::vector<Byte>& bytes, int key, std::uint32_t from,
                   std::uint32_t until) {
  Reading reading;
  std::size_t next = 0;
  for (std::uint32_t now = from; now < until; now += kFrameMs) {
    beginRead(state);
    while (next < bytes.size() && bytes[next].at <= now) feedInput(state, bytes[next++].text, now);
    reading.frameTimes.push_back(now);
    reading.down.push_back(keyIsDown(state, key, now));
  }
  return reading;
}

TEST(KeyHoldTest, OneTapTurnsLessThanAQuarterRadianAndStepsLessThanHalfACell) {
  // Taps at every phase against the frame reads, on a fresh terminal and on one whose
  // repeat was measured.
  for (std::uint32_t phase = 0; phase < kFrameMs; ++phase) {
    for (bool measured : {false, true}) {
      KeyboardState state;
      if (measured) readFrames(state, typed("\x1b[C", 100, 900, 300, 30), kRight, 100, 1200);
      const std::uint32_t start = 5000;
      const Reading tap = readFrames(state, {{start + phase, "\x1b[C"}}, kRight, start, start + 1500);
      EXPECT_GE(tap.framesDown(), 1) << phase;
      EXPECT_LE(tap.framesDown() * kTurnPerFrame, 0.25) << phase;
      EXPECT_LE(tap.framesDown() * kStepPerFrame, 0.5) << phase;
      EXPECT_TRUE(tap.unbroken());
    }
  }
}

TEST(KeyHoldTest, AHeldKeyActsWithoutABreakFromItsFirstRepeatAtASlowOrAFastPace) {
  struct Pace {
    std::uint32_t delay, interval;
  };
  for (const Pace pace : {Pace{660, 100}, Pace{250, 30}, Pace{500, 33}, Pace{1000, 120}, Pace{1000, 100}, Pace{250, 10}}) {
    KeyboardState state;
    // Twice: once as the first hold this terminal has seen, once after it was measured. The
    // first hold bridges repeats up to 120 ms apart before it has measured them.
    for (std::uint32_t start : {1000u, 20000u}) {
      if (start == 1000u && pace.interval > 120) {
        readFrames(state, typed("\x1b[A", start, start + 3000, pace.delay, pace.interval), kUp, start, start + 4000);
        continue;
      }
      const std::uint32_t release = start + 3000;
      const std::vector<Byte> bytes = typed("\x1b[A", start, release, pace.delay, pace.interval);
      const Reading hold = readFrames(state, bytes, kUp, start, release + 1000);
      // On a fresh terminal a first repeat might be a second tap: the run is sure from the
      // second repeat on. Once the delay is known, from the first.
      const std::uint32_t firstRepeat = start + pace.delay + (start == 1000u ? pace.interval : 0);
      // From the frame that reads the first repeat to the frame after the last byte, down.
      for (std::size_t i = 0; i < hold.frameTimes.size(); ++i) {
        const std::uint32_t t = hold.frameTimes[i];
        if (t >= firstRepeat + kFrameMs && t <= bytes.back().at + kFrameMs) {
          ASSERT_TRUE(hold.down[i]) << pace.delay << "/" << pace.interval << " hold from " << start << ": up at " << t;
        }
      }
      // And up again soon after the last repeat: at most one interval and a little more.
      const std::uint32_t lag = hold.lastDown() - bytes.back().at;
      const std::uint32_t measuredHold = pace.interval * 5 / 4 + kReadJitterMs;
      const std::uint32_t allowed = start == 1000u ? std::max(kUnmeasuredRepeatHoldMs, measuredHold) : measuredHold;
      EXPECT_LE(lag, allowed + kFrameMs) << pace.delay << "/" << pace.interval << " from " << start;
    }
    EXPECT_NEAR(state.repeatTiming.delayMs, pace.delay, kFrameMs);
    EXPECT_NEAR(state.repeatTiming.intervalMs, pace.interval, kFrameMs / 2 + 2) << pace.interval;
  }
}

TEST(KeyHoldTest, TwoRepeatsReadInOneFrameDoNotShortenTheHold) {
  // A busy machine or a bursty link: a run's first two repeats reach one read, a gap of
  // nothing. The hold after them must still bridge the keyboard's real interval.
  KeyboardState state;
  readFrames(state, typed("\x1b[C", 1000, 3000, 660, 100), kRight, 1000, 3500);
  std::vector<Byte> bytes = typed("\x1b[C", 5000, 8000, 660, 100);
  bytes[1].at = bytes[2].at;
  const Reading hold = readFrames(state, bytes, kRight, 5000, 8000);
  for (std::size_t i = 0; i < hold.frameTimes.size(); ++i) {
    if (hold.frameTimes[i] >= bytes[2].at) {
      ASSERT_TRUE(hold.down[i]) << "up at " << hold.frameTimes[i];
    }
  }
}

TEST(KeyHoldTest, OnceTheDelayIsKnownTwoQuickTapsStayTwoShortTaps) {
  KeyboardState state;
  readFrames(state, typed("\x1b[C", 100, 1500, 500, 30), kRight, 100, 2000);
  ASSERT_NEAR(state.repeatTiming.delayMs, 500u, kFrameMs);
  const Reading taps = readFrames(state, {{5000, "\x1b[C"}, {5200, "\x1b[C"}}, kRight, 4990, 6000);
  EXPECT_LE(taps.framesDown(), 2 * 3);
  EXPECT_FALSE(taps.unbroken());
}

TEST(KeyHoldTest, OnAFreshTerminalTwoTapsWithinTheLongestDelayStayShortAndMeasureNothing) {
  for (std::uint32_t gap : {200u, 660u, 1000u}) {
    KeyboardState state;
    const Reading taps = readFrames(state, {{1000, "\x1b[C"}, {1000 + gap, "\x1b[C"}}, kRight, 990, 3000);
    EXPECT_LE(taps.framesDown(), 2 * 3) << gap;
    EXPECT_EQ(state.repeatTiming.delayMs, 0u) << gap;
    // And a real hold after them measures the delay.
    const Reading hold = readFrames(state, typed("\x1b[C", 5000, 7000, 500, 30), kRight, 5000, 7500);
    EXPECT_NEAR(state.repeatTiming.delayMs, 500u, kFrameMs) << gap;
    EXPECT_TRUE(hold.down[(5500 + 2 * kFrameMs - 5000) / kFrameMs]) << gap;
  }
}

TEST(KeyHoldTest, AWrongDelayIsCorrectedByTheNextRealHold) {
  KeyboardState state;
  // A tap, and 300 ms later the key held for good: its first byte looks like the tap's
  // repeat, the real repeats come 660 ms after it.
  std::vector<Byte> bytes{{1000, "\x1b[C"}};
  const std::vector<Byte> hold = typed("\x1b[C", 1300, 3000, 660, 40);
  bytes.insert(bytes.end(), hold.begin(), hold.end());
  const Reading reading = readFrames(state, bytes, kRight, 990, 3500);
  EXPECT_NEAR(state.repeatTiming.delayMs, 660u, kFrameMs);
  EXPECT_TRUE(reading.down[(1960 + 2 * kFrameMs - 990) / kFrameMs]);
}

TEST(KeyHoldTest, TwoKeysInTurnEachActAndTheFirstStopsWhenItsRepeatsDo) {
  // A legacy keyboard repeats only the last key pressed: holding Up, then Right too, the
  // Up repeats stop and Right's begin after their delay.
  KeyboardState state;
  const std::vector<Byte> up = typed("\x1b[A", 1000, 2000, 300, 30);
  const std::vector<Byte> right = typed("\x1b[C", 2000, 3000, 300, 30);
  const std::vector<Byte> both = merged(up, right);
  KeyboardState second = state;
  const Reading upReading = readFrames(state, both, kUp, 1000, 4000);
  const Reading rightReading = readFrames(second, both, kRight, 1000, 4000);
  EXPECT_LE(upReading.lastDown(), 2000u + kUnmeasuredRepeatHoldMs + kFrameMs);
  EXPECT_GE(rightReading.firstDown(), 2000u);
  EXPECT_GE(rightReading.lastDown(), 2960u);
  // Taps of two keys in turn: each its own short tap.
  KeyboardState taps;
  const std::vector<Byte> alternate{{1000, "\x1b[A"}, {1100, "\x1b[C"}, {1200, "\x1b[A"}, {1300, "\x1b[C"}};
  KeyboardState tapsRight = taps;
  EXPECT_LE(readFrames(taps, alternate, kUp, 1000, 2000).framesDown(), 2 * 3);
  EXPECT_LE(readFrames(tapsRight, alternate, kRight, 1000, 2000).framesDown(), 2 * 3);
}

TEST(KeyHoldTest, TickCountWrapDoesNotHoldAKeyForever) {
  KeyboardState state;
  const std::uint32_t nearWrap = 0xFFFFFFF0u;
  feedInput(state, "w", nearWrap);
  EXPECT_TRUE(keyIsDown(state, 'W', nearWrap + 10));
  beginRead(state);
  EXPECT_FALSE(keyIsDown(state, 'W', nearWrap + 100));  // past the wrap
}

}  // namespace
}  // namespace veldra::platform::terminal
