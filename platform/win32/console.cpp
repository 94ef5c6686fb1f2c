// Console output on the Windows console: the frame goes to the visible window's top-left
// in one cell write; message text is written at the console cursor.

#include "platform/console.h"
#include "platform/backend/device.h"
#include "platform/lifetime.h"
#include "platform/process.h"
#include "platform/win32/win32_calls.h"

namespace veldra::platform {
namespace {

constexpr ConsoleHandle kStandardOutput = 1;

// The console's visible window, unless the devices are off or there is no console.
bool visibleWindow(win32::ConsoleWindow& window) { return win32::consoleWindow(window); }

}  // namespace

ConsoleHandle standardOutputHandle() { return kStandardOutput; }

bool device::consoleWindowSize(ConsoleHandle, int& columns, int& rows) {
  win32::ConsoleWindow window;
  if (!visibleWindow(window)) return false;
  columns = window.columns;
  rows = window.rows;
  return true;
}

bool device::getConsoleCursorInfo(ConsoleHandle, CursorInfo& info) {
  return win32::getCursorInfo(info.size, info.visible);
}

bool device::setConsoleCursorInfo(ConsoleHandle, const CursorInfo& info) {
  return win32::setCursorInfo(info.size, info.visible);
}

bool device::pictureWasCut() { return false; }  // the console's own call cuts to its buffer, unasked

// The window may be scrolled down the screen buffer (a console that showed much before
// the game): cells and the text cursor are placed relative to what is visible.
bool device::writeConsoleCells(ConsoleHandle, const CHAR_INFO* cells, int width, int height) {
  win32::ConsoleWindow window;
  if (!visibleWindow(window)) return false;
  static_assert(sizeof(CHAR_INFO) == 4, "cells are laid out as the console's own");
  return win32::writeCells(cells, width, height, window.left, window.top);
}

bool device::setConsoleCursorPosition(ConsoleHandle, int column, int row) {
  win32::ConsoleWindow window;
  if (!visibleWindow(window)) return false;
  return win32::setCursorPosition(window.left + column, window.top + row);
}

bool device::setConsoleTextAttribute(ConsoleHandle, std::uint16_t attribute) {
  win32::ConsoleWindow window;
  if (!visibleWindow(window)) return false;
  return win32::setTextAttribute(attribute);
}

void device::writeConsoleText(ConsoleHandle, std::string_view text) {
  win32::ConsoleWindow window;
  if (!visibleWindow(window)) return;  // text over the picture means nothing in a file or pipe
  win32::writeStandardOutputBytes(text);
}

void device::writeStandardOutput(std::string_view text) {
  win32::writeStandardOutputBytes(text);
}

void device::writeStandardOutputBytes(std::string_view text) { win32::writeStandardOutputBytes(text); }

}  // namespace veldra::platform
