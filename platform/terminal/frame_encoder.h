#pragma once
// Turns frames of console cells into the bytes a terminal needs: only the cells that changed
// since the last frame, a colour only when it changes and then only the half (foreground or
// background) that changed, in the terminal's colour mode, the whole frame wrapped in
// synchronized output. Pure: no system calls, so tests pin its exact bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/wave_out.h"
#include "platform/terminal/colour_modes.h"

namespace veldra::platform::terminal {

// Synchronized output: a terminal that knows it shows what comes between as one picture.
constexpr const char* kBeginSynchronized = "\x1b[?2026h";
constexpr const char* kEndSynchronized = "\x1b[?2026l";

// An attribute no cell ever has: marks a cell (or the terminal's colour) as unknown.
constexpr std::uint16_t kUnknownAttribute = 0xFFFF;

// What the terminal is believed to show.
struct ScreenModel {
  int width = 0;
  int height = 0;
  std::vector<CHAR_INFO> shown;
  std::uint16_t attribute = kUnknownAttribute;  // the terminal's current colours
  ColourMode colours = ColourMode::Sixteen;     // how colours are sent; kept when forgotten
  std::vector<int> changedColumns;              // scratch for a row's changed cells
  std::vector<char> frameBytes;                 // scratch for the cells' bytes
  // Rows with a cell of unknown colours, which must be looked at cell by cell; in every
  // other row, cells byte for byte as shown are as shown.
  std::vector<bool> rowHasUnknown;
};

// Appends the bytes that make the terminal show this frame at its top-left corner. A frame
// of another shape than the last clears the screen and is sent whole.
void encodeFrame(ScreenModel& model, const CHAR_INFO* cells, int width, int height, std::string& out);

// Something else was drawn over these cells (text written at the cursor): send them again.
void forgetCells(ScreenModel& model, int column, int row, int count);

// The whole picture is in doubt (resume, resize): the next frame clears and redraws.
void forgetScreen(ScreenModel& model);

// Colour escape for a console attribute (Windows bit order: blue 1, green 2, red 4), both
// halves, in the given mode.
void appendAttribute(std::string& out, std::uint16_t attribute, ColourMode mode);

// Cursor position escape, 0-based column and row.
void appendCursorPosition(std::string& out, int column, int row);

// A tone for a terminal that plays sound itself, as it said when asked with
// kTerminalSoundQuery (key_decoder.h): OSC 7707 ; start Hz ; end Hz ; milliseconds ;
// volume BEL, the frequencies to a hundredth of a hertz and the volume (0..1) to a
// ten-thousandth. Terminals that do not know the number ignore the sequence.
void appendSoundRequest(std::string& out, const SoundRequest& request);

}  // namespace veldra::platform::terminal
