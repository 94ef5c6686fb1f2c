// Any byte stream from a terminal, split at any points and arriving at any times, read at
// any times, with answers to the pacing query between its sequences: the decoder never
// crashes, counts every answer and presses no key for one, never holds more keys down than bytes have come,
// keeps its unfinished sequence bounded, lets every key go a second after the last byte
// where the terminal tells no releases, and after a focus-out holds no key at all.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/terminal/key_decoder.h"

using namespace veldra;
using namespace veldra::platform::terminal;

namespace {

constexpr std::string_view kFocusOut = "\x1b[O";
constexpr std::string_view kDeviceAttributes = "\x1b[?62;22;52c";

int keysDown(const KeyboardState& state, std::uint32_t now) {
  int down = 0;
  for (int key = 0; key < platform::kVirtualKeyCount; ++key) down += keyIsDown(state, key, now);
  return down;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  KeyboardState state;
  std::uint32_t now = 1000;
  std::size_t bytesFed = 0;
  while (input.remaining_bytes() > 0) {
    const std::string piece = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, 48));
    now += input.ConsumeIntegralInRange<std::uint32_t>(0, 700);
    feedInput(state, piece, now);
    bytesFed += piece.size();
    // The pacing's answer, split anywhere, between whole sequences: counted, and no key.
    if (state.pending.empty() && input.ConsumeBool()) {
      const std::string_view answer = kDeviceAttributes;
      const std::size_t split = input.ConsumeIntegralInRange<std::size_t>(0, answer.size());
      const int before = keysDown(state, now);
      const int answers = state.deviceAttributeAnswers;
      feedInput(state, answer.substr(0, split), now);
      feedInput(state, answer.substr(split), now);
      fuzz::require(keysDown(state, now) == before, "an answer pressed a key");
      fuzz::require(state.deviceAttributeAnswers == answers + 1, "an answer went uncounted");
    }
    if (input.ConsumeBool()) settleInput(state, now + kLoneEscapeWaitMs);
    if (input.ConsumeBool()) beginRead(state);
    fuzz::require(state.pending.size() <= kMaxPendingBytes, "the unfinished sequence grew past its bound");
    fuzz::require(static_cast<std::size_t>(keysDown(state, now)) <= bytesFed, "more keys down than bytes came");
  }
  // Whatever was left unfinished is settled; a second later, in a new read, a terminal
  // without releases holds nothing; then the window loses the focus.
  now += 1000;
  settleInput(state, now);
  beginRead(state);
  if (!state.reportsReleases) fuzz::require(keysDown(state, now + 1000) == 0, "a key stays down without bytes");
  feedInput(state, kFocusOut, now);
  fuzz::require(keysDown(state, now) == 0, "a key stays down after a focus-out");
  return 0;
}
