#pragma once
// A model terminal: an interpreter of exactly the bytes the frame encoder may send (cursor
// positions, cursor forward, colours, reset, clear, synchronized-output brackets, UTF-8 of
// the code page 437 glyphs) over a grid of cells. Anything else is an error, so a test
// learns when the encoder sends what this model does not know.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veldra::testing {

// The colours a cell has before any colour escape: the terminal's own.
constexpr std::uint16_t kDefaultColours = 0xFFFF;

struct ModelCell {
  std::string glyph = " ";  // UTF-8 as shown
  std::uint16_t attribute = kDefaultColours;
};

class ModelTerminal {
 public:
  ModelTerminal(int columns, int rows);

  // Interprets the bytes; false (with error() set) at the first byte it does not know. A
  // sequence or character cut at the end waits for the rest; a CAN byte abandons it, as
  // terminals do (a cut character shows as U+FFFD).
  bool feed(std::string_view bytes);

  const ModelCell& at(int column, int row) const { return cells_[static_cast<std::size_t>(row * columns_ + column)]; }
  const std::string& error() const { return error_; }
  bool synchronized() const { return synchronized_; }
  bool idle() const { return pending_.empty(); }  // no sequence or character left half-read

 private:
  bool escape(std::string_view sequence);
  bool colours(const std::vector<int>& parameters);
  void print(std::string glyph);

  int columns_;
  int rows_;
  std::vector<ModelCell> cells_;
  int column_ = 0;
  int row_ = 0;
  bool pendingWrap_ = false;  // the last column was written: the next glyph wraps first
  bool synchronized_ = false;
  std::uint16_t attribute_ = kDefaultColours;
  std::string error_;
  std::string pending_;  // the start of a sequence or character still to come
};

}  // namespace veldra::testing
