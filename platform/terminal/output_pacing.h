#pragma once
// Paced output: a frame goes out only while the terminal keeps up. After every frame the
// terminal is asked for its primary device attributes (CSI c). Every terminal answers that
// in order with what it was sent, and its answer (CSI ? ... c) is no key, so an answer says
// the terminal has taken everything before its query. While a few frames are unanswered the
// game goes on at its pace without drawing; the next frame drawn is sent as the difference
// from what was last sent, so a thin link never queues more than those few frames. A
// terminal that never answers is drawn every frame, unasked. Pure: times are given.

#include <cstdint>
#include <string_view>

namespace veldra::platform::terminal {

// Enough to fill a round trip on an ordinary link at 60 frames a second.
constexpr int kMostUnansweredFrames = 3;
// A terminal that has not answered this long after the first query never will.
constexpr std::uint32_t kFirstAnswerWaitMs = 1000;
// Answers that stay away this long after the last one were lost (the line dropped them):
// the count starts again, so the picture never freezes for good.
constexpr std::uint32_t kLostAnswersMs = 5000;

constexpr std::string_view kPacingQuery = "\x1b[c";

struct OutputPacing {
  bool asking = true;        // queries go out after frames
  bool answered = false;     // an answer ever came
  bool queried = false;      // a query ever went out
  int unanswered = 0;        // queries out with no answer yet
  std::uint32_t lastProgressAt = 0;  // the first query, then the last answer
};

// Whether a frame may go out at `now`.
bool frameMayGo(OutputPacing& pacing, std::uint32_t now);

// A frame went out whole at `now`, followed by the query where the pacing asks.
void frameWentOut(OutputPacing& pacing, std::uint32_t now);

// `count` answers arrived by `now`.
void answersArrived(OutputPacing& pacing, int count, std::uint32_t now);

}  // namespace veldra::platform::terminal
