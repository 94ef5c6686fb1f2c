#pragma once
// Random frames of console cells for the encoder's tests: runs of one cell as pictures
// have, any byte, any colour, now and then attribute bits no terminal can show.

#include <random>
#include <vector>

#include "platform/console.h"

namespace veldra::testing {

struct Frame {
  int width;
  int height;
  std::vector<CHAR_INFO> cells;
};

class FrameMaker {
 public:
  // `glyphs`, when given, are the only characters used (for a real terminal's check).
  explicit FrameMaker(unsigned seed, std::vector<unsigned char> glyphs = {})
      : random_(seed), glyphs_(std::move(glyphs)) {}

  int upTo(int n) { return std::uniform_int_distribution<int>(1, n)(random_); }
  bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

  CHAR_INFO randomCell() {
    CHAR_INFO cell{};
    if (glyphs_.empty()) {
      cell.Char.AsciiChar = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random_));
    } else {
      cell.Char.AsciiChar = static_cast<char>(glyphs_[static_cast<std::size_t>(upTo(static_cast<int>(glyphs_.size())) - 1)]);
    }
    const int high = chance(0.1) ? std::uniform_int_distribution<int>(1, 255)(random_) : 0;
    cell.Attributes = static_cast<std::uint16_t>(high << 8 | std::uniform_int_distribution<int>(0, 255)(random_));
    return cell;
  }

  Frame fresh(int width, int height) {
    Frame frame{width, height, std::vector<CHAR_INFO>(static_cast<std::size_t>(width * height))};
    CHAR_INFO current = randomCell();
    for (CHAR_INFO& cell : frame.cells) {
      if (chance(0.2)) current = randomCell();
      cell = current;
    }
    return frame;
  }

  // The same frame with a few cells changed, or many.
  Frame changed(const Frame& previous) {
    Frame frame = previous;
    const double rate = chance(0.5) ? 0.02 : 0.3;
    for (CHAR_INFO& cell : frame.cells) {
      if (chance(rate)) cell = randomCell();
    }
    return frame;
  }

  // The next frame: mostly the same size with a few changes, sometimes a new shape.
  Frame next(const Frame& previous, int maxWidth, int maxHeight) {
    if (chance(0.15)) return fresh(upTo(maxWidth), upTo(maxHeight));
    return changed(previous);
  }

 private:
  std::mt19937 random_;
  std::vector<unsigned char> glyphs_;
};

}  // namespace veldra::testing
