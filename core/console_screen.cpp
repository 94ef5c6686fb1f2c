#include "core/console_screen.h"

#include <algorithm>

namespace veldra {
namespace {

constexpr int kDefaultColumns = 80;
constexpr int kDefaultRows = 25;

void setCursorVisible(platform::ConsoleHandle output, bool visible) {
  platform::CursorInfo info;
  if (!platform::getConsoleCursorInfo(output, info)) return;
  info.visible = visible;
  platform::setConsoleCursorInfo(output, info);
}

}  // namespace

ConsoleScreen::ConsoleScreen() : output(platform::standardOutputHandle()) {
  setCursorVisible(output, false);
}

ConsoleScreen::~ConsoleScreen() {
  cells.reset();
  setCursorVisible(output, true);
}

FrameSize queryFrameSize(const ConsoleScreen& screen) {
  FrameSize size{kDefaultColumns, kDefaultRows};
  int columns = 0;
  int rows = 0;
  if (platform::consoleWindowSize(screen.output, columns, rows)) {
    size.width = columns;
    size.height = rows;
  }
  return size;
}

FrameSize capFrameSize(FrameSize size) {
  return {std::min(size.width, kMaxGameColumns), std::min(size.height, kMaxGameRows)};
}

bool sizeFrame(ConsoleScreen& screen, FrameSize size) {
  if (size.width <= 0 || size.height <= 0) return false;
  const long long count = static_cast<long long>(size.width) * size.height;
  if (!screen.cells || screen.cellCount != count) {
    screen.cells.reset();
    screen.cells = std::make_unique<CHAR_INFO[]>(static_cast<std::size_t>(count));
    screen.cellCount = static_cast<std::int32_t>(count);
  }
  return true;
}

bool prepareFrame(ConsoleScreen& screen, FrameSize size, std::uint16_t attribute) {
  if (!sizeFrame(screen, size)) return false;
  CHAR_INFO blank{};
  blank.Char.AsciiChar = ' ';
  blank.Attributes = attribute;
  std::fill_n(screen.cells.get(), screen.cellCount, blank);
  return true;
}

void writeFrame(const ConsoleScreen& screen, FrameSize size) {
  platform::writeConsoleCells(screen.output, screen.cells.get(), size.width, size.height);
}

}  // namespace veldra
