#pragma once
// A frame being composed: the cell array with its width and height, and bounded writes.

#include <cstdint>

#include "platform/console.h"

namespace veldra {

struct FrameView {
  CHAR_INFO* cells = nullptr;
  int width = 0;
  int height = 0;

  bool contains(int column, int row) const { return column >= 0 && column < width && row >= 0 && row < height; }

  CHAR_INFO& at(int column, int row) const { return cells[row * width + column]; }

  // Writes one cell; cells outside the frame are skipped.
  void put(int column, int row, char c, std::uint16_t attribute) const {
    if (!contains(column, row)) return;
    CHAR_INFO& cell = at(column, row);
    cell.Char.AsciiChar = c;
    cell.Attributes = attribute;
  }

  // Writes text from a start cell by cell index: a character is skipped only when its index
  // lies outside the frame, so a text too long for its row runs on into the next.
  template <typename Text>
  void putByIndex(long long index, const Text& text, std::uint16_t attribute) const {
    const long long count = static_cast<long long>(width) * height;
    for (char c : text) {
      if (index >= 0 && index < count) {
        cells[index].Char.AsciiChar = c;
        cells[index].Attributes = attribute;
      }
      ++index;
    }
  }

  long long indexOf(int column, int row) const { return static_cast<long long>(row) * width + column; }
};

}  // namespace veldra
