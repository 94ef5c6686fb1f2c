#pragma once
// A model terminal: an interpreter of exactly the bytes the frame encoder may send (cursor
// positions, cursor forward, colours in any of the three modes, one half or both, reset,
// clear, synchronized-output brackets, the pacing query, UTF-8 of the code page 437 glyphs) over a grid of
// cells. It shows the sixteen ANSI colours in the game's palette, and 256-colour entries as
// xterm does. Anything else is an error, so a test
// learns when the encoder sends what this model does not know.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/terminal/colour_modes.h"

namespace veldra::testing {

// The colours a cell has before any colour escape: the terminal's own.
constexpr std::uint16_t kDefaultColours = 0xFFFF;

using platform::terminal::Rgb;

struct ModelCell {
  std::string glyph = " ";  // UTF-8 as shown
  std::uint16_t attribute = kDefaultColours;  // console colours, while both came as ANSI colours
  Rgb foreground;
  Rgb background;
};

// An xterm 256-colour entry's RGB, as xterm shows it (0 to 15 in the game's palette).
Rgb xtermColour(int index);

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
  // The tones it was sent to play (OSC 7707), each as "start;end;milliseconds;volume".
  const std::vector<std::string>& tones() const { return tones_; }

 private:
  bool escape(std::string_view sequence);
  bool colours(const std::vector<int>& parameters);
  bool extendedColour(const std::vector<int>& parameters, std::size_t& at, Rgb& colour);
  void print(std::string glyph);

  int columns_;
  int rows_;
  std::vector<ModelCell> cells_;
  int column_ = 0;
  int row_ = 0;
  bool pendingWrap_ = false;  // the last column was written: the next glyph wraps first
  bool synchronized_ = false;
  int foreground_ = -1;  // console colour sent as ANSI; -1 default or extended
  int background_ = -1;
  Rgb foregroundRgb_;
  Rgb backgroundRgb_;
  std::uint16_t attribute() const;
  std::string error_;
  std::string pending_;  // the start of a sequence or character still to come
  std::vector<std::string> tones_;
};

}  // namespace veldra::testing
