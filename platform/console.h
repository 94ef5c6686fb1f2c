#pragma once
// Console output: the game's picture is a rectangle of character cells written at the
// top-left of the visible window in one call. Called by render/ and frontend/.

#include <cstdint>
#include <string_view>

// One character cell, laid out as the Windows console's cell so that
// `cell.Char.AsciiChar` and `cell.Attributes` read the same on every platform.
struct CHAR_INFO {
  union {
    std::uint16_t UnicodeChar;
    char AsciiChar;
  } Char;
  std::uint16_t Attributes;  // foreground bits 0-3, background bits 4-7 (blue 1, green 2, red 4, bright 8)
};

namespace veldra::platform {

// The code page 437 glyph of a cell filled with its foreground colour: drawn by the game,
// and known to the terminal's encoder, which leaves such a cell's unseen background unsent.
constexpr char kFullBlock = '\xDB';

using ConsoleHandle = int;

struct CursorInfo {
  unsigned size = 25;  // percent of the cell the cursor fills
  bool visible = true;
};

// The console that receives the game's cells and text (standard output).
ConsoleHandle standardOutputHandle();

// Size of the visible window in cells. Fails (false) when the output is not a console.
bool consoleWindowSize(ConsoleHandle output, int& columns, int& rows);

// Cursor state. Both fail (false, nothing changed) when the output is not a console.
bool getConsoleCursorInfo(ConsoleHandle output, CursorInfo& info);
bool setConsoleCursorInfo(ConsoleHandle output, const CursorInfo& info);

// Writes width x height cells (row by row) at the window's top-left corner in one call. A
// picture larger than the window (a recording replayed in a smaller one) shows its top-left
// part, cut at the window's edges.
bool writeConsoleCells(ConsoleHandle output, const CHAR_INFO* cells, int width, int height);

// Whether a picture was ever cut to fit the window.
bool pictureWasCut();

// Moves the text cursor used by writeConsoleText (column, row from the top-left, 0-based).
bool setConsoleCursorPosition(ConsoleHandle output, int column, int row);

// Sets the attribute that later console text is drawn in.
bool setConsoleTextAttribute(ConsoleHandle output, std::uint16_t attribute);

// Writes text at the text cursor over the picture (the message lines), cut at the window's
// right edge. Nothing is written when the output is not a console.
void writeConsoleText(ConsoleHandle output, std::string_view text);

// Writes a line of the program's own output (start-up, closing and death lines). Lines
// written while the picture is up stay readable after the game ends.
void writeStandardOutput(std::string_view text);

}  // namespace veldra::platform
