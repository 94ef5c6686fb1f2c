#pragma once
// Whether a model terminal shows a frame at its top-left corner, character and colour.

#include <gtest/gtest.h>

#include "frame_maker.h"
#include "model_terminal.h"
#include "platform/terminal/cp437.h"

namespace veldra::testing {

inline ::testing::AssertionResult showsFrame(const ModelTerminal& terminal, const Frame& frame) {
  for (int row = 0; row < frame.height; ++row) {
    for (int column = 0; column < frame.width; ++column) {
      const CHAR_INFO& cell = frame.cells[static_cast<std::size_t>(row * frame.width + column)];
      const ModelCell& shown = terminal.at(column, row);
      if (shown.glyph != platform::terminal::cp437ToUtf8(static_cast<unsigned char>(cell.Char.AsciiChar)) ||
          shown.attribute != (cell.Attributes & 0xFF)) {
        return ::testing::AssertionFailure() << "cell (" << column << ", " << row << ") of " << frame.width << " x "
                                             << frame.height << " shows '" << shown.glyph << "' in " << shown.attribute
                                             << ", not byte " << int(static_cast<unsigned char>(cell.Char.AsciiChar))
                                             << " in " << (cell.Attributes & 0xFF);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace veldra::testing
