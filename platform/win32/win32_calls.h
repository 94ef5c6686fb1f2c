#pragma once
// The Windows calls the backend makes, behind plain types: the files that implement the
// game's platform headers include this, never <windows.h>, whose CHAR_INFO would clash
// with the game's own declaration of the same cell. win32_calls.cpp is the one place that
// includes the system's headers for the console, keyboard, clock and process.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/pad_reading.h"

namespace veldra::platform::win32 {

// The console's visible window, in screen-buffer cells. False when standard output is not
// a console.
struct ConsoleWindow {
  int left = 0;
  int top = 0;
  int columns = 0;
  int rows = 0;
};
bool consoleWindow(ConsoleWindow& window);

bool getCursorInfo(unsigned& size, bool& visible);
bool setCursorInfo(unsigned size, bool visible);
// Cells laid out as the console's own CHAR_INFO, written in one call at (left, top).
bool writeCells(const void* cells, int width, int height, int left, int top);
bool setCursorPosition(int column, int row);
bool setTextAttribute(std::uint16_t attribute);

// Writes bytes to standard output or standard error, whether a console or a file.
void writeStandardOutputBytes(std::string_view bytes);
void writeStandardErrorBytes(std::string_view bytes);

// Switches the console's output to code page 437 while the game draws (the block and shade
// characters); the code page, the cursor and the text colour are given back on every way
// out: a normal end, exit with a status, Ctrl+C, Ctrl+Break and closing the window.
// startConsole remembers what to give back and installs the control handler and the exit
// hook; once, at the platform's start.
void startConsole();
void takeConsoleForPlay();
void giveConsoleBack();

// The mouse while the game plays: its events on and quick-edit off (given back with the
// rest); the pointer's column in the visible window after the events that came since the
// last call (false when none moved or pressed it). Key events read on the way are dropped:
// the keys come from the key-state call.
void takeConsoleMouse();
bool readConsoleMouseColumn(int& column);

std::uint16_t asyncKeyState(int virtualKey);
std::uint32_t tickCount();
void sleep(std::uint32_t milliseconds);
std::string currentDirectory();
std::string environmentVariable(const char* name);  // empty when unset
int virtualKeyAtScanCode(int scanCode);  // the layout's key in that place, 0 for none

// The first XInput controller connected (from xinput1_4.dll, else xinput9_1_0.dll), or none.
PadReading readXInputPad();
// One key from the console without echo; at once when there is no console to read.
void waitForConsoleKey();

}  // namespace veldra::platform::win32
