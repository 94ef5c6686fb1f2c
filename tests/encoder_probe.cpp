// The frame encoder in a real terminal. `veldra_encoder_probe show SEED` sends a few random
// frames, each as the game would send it after the last, then waits; `veldra_encoder_probe
// check SEED` reads the terminal's screen as tmux's `capture-pane -p -e` prints it and says
// whether it shows the last of those frames exactly, character and colour.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "frame_maker.h"
#include "platform/terminal/cp437.h"
#include "platform/terminal/frame_encoder.h"

namespace {

using namespace veldra;
using testing::Frame;

constexpr int kMaxWidth = 60;  // inside the test's 80 x 24 pane
constexpr int kMaxHeight = 20;
constexpr int kFrames = 6;
constexpr std::uint16_t kDefault = 0xFFFF;

// ASCII, the block and shade glyphs the picture is made of, and a few others.
std::vector<unsigned char> probeGlyphs() {
  std::vector<unsigned char> glyphs;
  for (int c = 0x21; c < 0x7F; ++c) glyphs.push_back(static_cast<unsigned char>(c));
  for (int c : {0xDB, 0xDF, 0xDC, 0xB0, 0xB1, 0xB2, 0xC4, 0xB3, 0xFE, 0x04, 0x10, 0x1E, 0xE0, 0xF8}) {
    glyphs.push_back(static_cast<unsigned char>(c));
  }
  return glyphs;
}

std::vector<Frame> frames(unsigned seed) {
  testing::FrameMaker maker(seed, probeGlyphs());
  std::vector<Frame> list{maker.fresh(maker.upTo(kMaxWidth), maker.upTo(kMaxHeight))};
  for (int i = 1; i < kFrames; ++i) list.push_back(maker.next(list.back(), kMaxWidth, kMaxHeight));
  return list;
}

int show(unsigned seed) {
  platform::terminal::ScreenModel model;
  for (const Frame& frame : frames(seed)) {
    std::string bytes;
    platform::terminal::encodeFrame(model, frame.cells.data(), frame.width, frame.height, bytes);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::printf("\x1b[%d;1H\x1b[0mshown", kMaxHeight + 2);
  std::fflush(stdout);
  ::pause();
  return 0;
}

int consoleColour(int ansi) { return ((ansi & 1) << 2) | (ansi & 2) | ((ansi & 4) >> 2); }

struct Cell {
  std::string glyph = " ";
  int foreground = -1;  // -1: the terminal's default
  int background = -1;
};

// One line of `capture-pane -e` output: glyphs and the SGR escapes tmux puts between them.
// Colours carry over from the end of the line before, which tmux does not repeat.
std::vector<Cell> parseLine(const std::string& line, int& foreground, int& background) {
  std::vector<Cell> cells;
  for (std::size_t i = 0; i < line.size();) {
    if (line[i] == '\x1b' && i + 1 < line.size() && line[i + 1] == '[') {
      const std::size_t end = line.find('m', i);
      std::vector<int> parameters;
      std::string number;
      for (std::size_t k = i + 2; k <= end; ++k) {
        if (k == end || line[k] == ';') {
          parameters.push_back(number.empty() ? 0 : std::atoi(number.c_str()));
          number.clear();
        } else {
          number.push_back(line[k]);
        }
      }
      for (std::size_t k = 0; k < parameters.size(); ++k) {
        const int p = parameters[k];
        if (p == 0) foreground = background = -1;
        else if (p >= 30 && p <= 37) foreground = consoleColour(p - 30);
        else if (p >= 90 && p <= 97) foreground = consoleColour(p - 90) | 8;
        else if (p == 39) foreground = -1;
        else if (p >= 40 && p <= 47) background = consoleColour(p - 40);
        else if (p >= 100 && p <= 107) background = consoleColour(p - 100) | 8;
        else if (p == 49) background = -1;
        else if ((p == 38 || p == 48) && k + 2 < parameters.size() && parameters[k + 1] == 5) {
          const int n = parameters[k + 2];
          const int colour = n < 8 ? consoleColour(n) : consoleColour(n - 8) | 8;
          (p == 38 ? foreground : background) = colour;
          k += 2;
        }
      }
      i = end + 1;
      continue;
    }
    const auto lead = static_cast<unsigned char>(line[i]);
    const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 4;
    cells.push_back(Cell{line.substr(i, length), foreground, background});
    i += length;
  }
  return cells;
}

int check(unsigned seed) {
  const Frame frame = frames(seed).back();
  std::vector<std::string> lines;
  for (std::string line; std::getline(std::cin, line);) lines.push_back(line);
  int foreground = -1;
  int background = -1;
  for (int row = 0; row < frame.height; ++row) {
    const std::vector<Cell> cells =
        row < static_cast<int>(lines.size()) ? parseLine(lines[row], foreground, background) : std::vector<Cell>{};
    for (int column = 0; column < frame.width; ++column) {
      const CHAR_INFO& expected = frame.cells[static_cast<std::size_t>(row * frame.width + column)];
      const Cell shown = column < static_cast<int>(cells.size()) ? cells[column] : Cell{};
      const int attribute = expected.Attributes & 0xFF;
      const std::string glyph(platform::terminal::cp437ToUtf8(static_cast<unsigned char>(expected.Char.AsciiChar)));
      // Only what the eye sees counts: a space has no foreground, a full block no background.
      const bool foregroundSeen = expected.Char.AsciiChar != ' ';
      const bool backgroundSeen = expected.Char.AsciiChar != '\xDB';
      if (shown.glyph != glyph || (foregroundSeen && shown.foreground != (attribute & 0xF)) ||
          (backgroundSeen && shown.background != (attribute >> 4))) {
        std::printf("cell (%d, %d): expected '%s' in %d on %d, the terminal shows '%s' in %d on %d\n", column, row,
                    glyph.c_str(), attribute & 0xF, attribute >> 4, shown.glyph.c_str(), shown.foreground,
                    shown.background);
        return 1;
      }
    }
  }
  std::printf("%d x %d frame shown exactly\n", frame.width, frame.height);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: veldra_encoder_probe show|check SEED\n");
    return 2;
  }
  const unsigned seed = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
  return std::string(argv[1]) == "show" ? show(seed) : check(seed);
}
