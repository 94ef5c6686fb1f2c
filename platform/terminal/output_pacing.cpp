#include "platform/terminal/output_pacing.h"

#include <algorithm>

namespace veldra::platform::terminal {

bool frameMayGo(OutputPacing& pacing, std::uint32_t now) {
  if (!pacing.asking || pacing.unanswered < kMostUnansweredFrames) return true;
  const std::uint32_t waited = now - pacing.lastProgressAt;
  if (!pacing.answered && waited >= kFirstAnswerWaitMs) {
    pacing.asking = false;  // draw as if nobody asked
    return true;
  }
  if (pacing.answered && waited >= kLostAnswersMs) {
    pacing.unanswered = 0;
    pacing.lastProgressAt = now;
    return true;
  }
  return false;
}

void frameWentOut(OutputPacing& pacing, std::uint32_t now) {
  if (!pacing.asking) return;
  ++pacing.unanswered;
  if (!pacing.queried) pacing.lastProgressAt = now;
  pacing.queried = true;
}

void answersArrived(OutputPacing& pacing, int count, std::uint32_t now) {
  if (count <= 0) return;
  pacing.answered = true;
  pacing.unanswered = std::max(0, pacing.unanswered - count);
  pacing.lastProgressAt = now;
}

}  // namespace veldra::platform::terminal
