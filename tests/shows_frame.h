#pragma once
// Whether a model terminal shows a frame at its top-left corner, character and colour: in the
// terminal's own sixteen the console colours themselves, and in every mode the RGB the
// game's palette wants (in 256 colours, the nearest entry of the cube or grey ramp). Only
// what the eye sees counts: a space has no foreground to see, a full block no background.

#include <gtest/gtest.h>

#include "frame_maker.h"
#include "model_terminal.h"
#include "platform/terminal/colour_modes.h"
#include "platform/terminal/cp437.h"

namespace veldra::testing {

using platform::terminal::ColourMode;

inline int distanceSquared(Rgb a, Rgb b) {
  return (a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b);
}

// The colour a console colour should show as, found here by trying every entry.
inline Rgb nearestEntry(Rgb wanted) {
  Rgb best = xtermColour(16);
  for (int index = 17; index < 256; ++index) {
    if (distanceSquared(xtermColour(index), wanted) < distanceSquared(best, wanted)) best = xtermColour(index);
  }
  return best;
}

inline Rgb expectedRgb(int colour, ColourMode mode) {
  static const std::array<Rgb, 16> nearest = [] {
    std::array<Rgb, 16> table{};
    for (std::size_t c = 0; c < table.size(); ++c) table[c] = nearestEntry(platform::terminal::kConsolePalette[c]);
    return table;
  }();
  const auto index = static_cast<std::size_t>(colour & 0xF);
  return mode == ColourMode::Palette256 ? nearest[index] : platform::terminal::kConsolePalette[index];
}

inline ::testing::AssertionResult showsFrame(const ModelTerminal& terminal, const Frame& frame,
                                             ColourMode mode = ColourMode::Sixteen) {
  for (int row = 0; row < frame.height; ++row) {
    for (int column = 0; column < frame.width; ++column) {
      const CHAR_INFO& cell = frame.cells[static_cast<std::size_t>(row * frame.width + column)];
      const ModelCell& shown = terminal.at(column, row);
      const int attribute = cell.Attributes & 0xFF;
      const bool foregroundSeen = cell.Char.AsciiChar != ' ';
      const bool backgroundSeen = cell.Char.AsciiChar != '\xDB';
      const int seen = (foregroundSeen ? 0x0F : 0) | (backgroundSeen ? 0xF0 : 0);
      const bool sameColours = (!foregroundSeen || shown.foreground == expectedRgb(attribute & 0xF, mode)) &&
                               (!backgroundSeen || shown.background == expectedRgb(attribute >> 4, mode)) &&
                               (mode != ColourMode::Sixteen || (shown.attribute & seen) == (attribute & seen));
      if (shown.glyph != platform::terminal::cp437ToUtf8(static_cast<unsigned char>(cell.Char.AsciiChar)) ||
          !sameColours) {
        return ::testing::AssertionFailure() << "cell (" << column << ", " << row << ") of " << frame.width << " x "
                                             << frame.height << " shows '" << shown.glyph << "' in " << shown.attribute
                                             << ", not byte " << int(static_cast<unsigned char>(cell.Char.AsciiChar))
                                             << " in " << attribute;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace veldra::testing
