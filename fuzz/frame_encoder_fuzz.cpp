// Any pair of frames: the bytes the encoder sends for the second after the first leave a
// model terminal showing exactly the second.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "platform/terminal/cp437.h"
#include "platform/terminal/frame_encoder.h"
#include "tests/model_terminal.h"

using namespace veldra;

namespace {

constexpr int kMaxWidth = 120;
constexpr int kMaxHeight = 50;

struct Frame {
  int width = 1;
  int height = 1;
  std::vector<CHAR_INFO> cells;
};

Frame frameFrom(FuzzedDataProvider& input) {
  Frame frame;
  frame.width = input.ConsumeIntegralInRange<int>(1, kMaxWidth);
  frame.height = input.ConsumeIntegralInRange<int>(1, kMaxHeight);
  frame.cells.resize(static_cast<std::size_t>(frame.width * frame.height));
  // The cells repeat what the input gives, so a short input still fills a large frame.
  const std::vector<std::uint8_t> pattern = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 512));
  for (std::size_t i = 0; i < frame.cells.size(); ++i) {
    if (pattern.size() < 3) break;
    const std::size_t at = (i * 3) % (pattern.size() - pattern.size() % 3);
    frame.cells[i].Char.AsciiChar = static_cast<char>(pattern[at]);
    frame.cells[i].Attributes = static_cast<std::uint16_t>(pattern[at + 1] | pattern[at + 2] << 8);
  }
  return frame;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const Frame first = frameFrom(input);
  const Frame second = frameFrom(input);
  platform::terminal::ScreenModel model;
  testing::ModelTerminal terminal(kMaxWidth, kMaxHeight);
  std::string bytes;
  platform::terminal::encodeFrame(model, first.cells.data(), first.width, first.height, bytes);
  platform::terminal::encodeFrame(model, second.cells.data(), second.width, second.height, bytes);
  fuzz::require(terminal.feed(bytes), "the encoder sent bytes a terminal would not know");
  fuzz::require(!terminal.synchronized(), "synchronized output left on");
  fuzz::require(terminal.idle(), "the bytes end inside a sequence or character");
  for (int row = 0; row < second.height; ++row) {
    for (int column = 0; column < second.width; ++column) {
      const CHAR_INFO& cell = second.cells[static_cast<std::size_t>(row * second.width + column)];
      const testing::ModelCell& shown = terminal.at(column, row);
      fuzz::require(shown.glyph == platform::terminal::cp437ToUtf8(static_cast<unsigned char>(cell.Char.AsciiChar)),
                    "a cell shows another character");
      // Only what the eye sees counts: a space has no foreground, a full block no background.
      const int seen = (cell.Char.AsciiChar == ' ' ? 0 : 0x0F) | (cell.Char.AsciiChar == '\xDB' ? 0 : 0xF0);
      fuzz::require((shown.attribute & seen) == (cell.Attributes & seen), "a cell shows other colours");
    }
  }
  return 0;
}
