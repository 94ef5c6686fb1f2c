// The terminal encoder: exact bytes, the diff against the last frame, colours, code page 437.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/terminal/cp437.h"
#include "platform/terminal/frame_encoder.h"

namespace veldra::platform::terminal {
namespace {

CHAR_INFO cell(char c, std::uint16_t attribute) {
  CHAR_INFO value{};
  value.Char.AsciiChar = c;
  value.Attributes = attribute;
  return value;
}

std::vector<CHAR_INFO> frameOf(const std::string& text, std::uint16_t attribute) {
  std::vector<CHAR_INFO> cells;
  for (char c : text) cells.push_back(cell(c, attribute));
  return cells;
}

std::string encode(ScreenModel& model, const std::vector<CHAR_INFO>& cells, int width, int height) {
  std::string out;
  encodeFrame(model, cells.data(), width, height, out);
  return out;
}

TEST(FrameEncoderTest, FirstFrameClearsAndSendsEveryCell) {
  ScreenModel model;
  const auto cells = frameOf("abcd", 7);
  EXPECT_EQ(encode(model, cells, 2, 2),
            "\x1b[?2026h\x1b[0m\x1b[2J"
            "\x1b[1;1H\x1b[37;40mab"
            "\x1b[2;1Hcd"
            "\x1b[?2026l");
}

TEST(FrameEncoderTest, AnUnchangedFrameSendsOnlyTheSynchronizedWrapper) {
  ScreenModel model;
  const auto cells = frameOf("abcd", 7);
  encode(model, cells, 2, 2);
  EXPECT_EQ(encode(model, cells, 2, 2), "\x1b[?2026h\x1b[?2026l");
}

TEST(FrameEncoderTest, OnlyChangedCellsAreSentWithColourOnlyWhenItChanges) {
  ScreenModel model;
  auto cells = frameOf("abcdefgh", 7);
  encode(model, cells, 4, 2);
  cells[1] = cell('X', 7);
  cells[3] = cell('Y', 7);           // same row: a cursor-forward over the unchanged cell
  cells[6] = cell('Z', 0x4C);        // next row: a full position and a new colour
  cells[7] = cell('W', 0x4C);        // follows on: no position, no colour
  EXPECT_EQ(encode(model, cells, 4, 2),
            "\x1b[?2026h"
            "\x1b[1;2HX\x1b[1CY"
            "\x1b[2;3H\x1b[91;41mZW"
            "\x1b[?2026l");
}

TEST(FrameEncoderTest, AColourChangeAloneIsAChange) {
  ScreenModel model;
  auto cells = frameOf("ab", 7);
  encode(model, cells, 2, 1);
  cells[0].Attributes = 0x70;
  EXPECT_EQ(encode(model, cells, 2, 1), "\x1b[?2026h\x1b[1;1H\x1b[30;47ma\x1b[?2026l");
}

TEST(FrameEncoderTest, ANewShapeRedrawsEverything) {
  ScreenModel model;
  encode(model, frameOf("abcd", 7), 2, 2);
  const std::string out = encode(model, frameOf("abcd", 7), 4, 1);
  EXPECT_NE(out.find("\x1b[2J"), std::string::npos);
  EXPECT_NE(out.find("abcd"), std::string::npos);
}

TEST(FrameEncoderTest, ForgottenCellsAreSentAgain) {
  ScreenModel model;
  const auto cells = frameOf("abcdef", 7);
  encode(model, cells, 6, 1);
  forgetCells(model, 2, 0, 2);   // text was written over "cd"
  forgetCells(model, 5, 3, 9);   // off the frame: ignored
  EXPECT_EQ(encode(model, cells, 6, 1), "\x1b[?2026h\x1b[1;3Hcd\x1b[?2026l");
  forgetScreen(model);
  EXPECT_NE(encode(model, cells, 6, 1).find("\x1b[2J"), std::string::npos);
  // A cell whose bytes are those of an unknown one is still sent, on a new screen and after
  // being forgotten: a row with unknown cells is never passed over as unchanged.
  ScreenModel fresh;
  const auto odd = frameOf(std::string(1, '\0'), kUnknownAttribute);
  EXPECT_NE(encode(fresh, odd, 1, 1).find("\x1b[1;1H"), std::string::npos);
  forgetCells(fresh, 0, 0, 1);
  EXPECT_NE(encode(fresh, odd, 1, 1).find("\x1b[1;1H"), std::string::npos);
}

TEST(FrameEncoderTest, AllColourPairsSwapRedAndBlue) {
  // Console colour order blue 1, green 2, red 4 against ANSI red 1, green 2, blue 4.
  const int ansiOf[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  for (int background = 0; background < 16; ++background) {
    for (int foreground = 0; foreground < 16; ++foreground) {
      std::string out;
      appendAttribute(out, static_cast<std::uint16_t>(background << 4 | foreground), ColourMode::Sixteen);
      const int fg = (foreground & 8 ? 90 : 30) + ansiOf[foreground & 7];
      const int bg = (background & 8 ? 100 : 40) + ansiOf[background & 7];
      EXPECT_EQ(out, "\x1b[" + std::to_string(fg) + ";" + std::to_string(bg) + "m") << foreground << "/" << background;
    }
  }
  std::string lightRed;
  appendAttribute(lightRed, 12, ColourMode::Sixteen);
  EXPECT_EQ(lightRed, "\x1b[91;40m");
}

TEST(FrameEncoderTest, TheColourModeFollowsTheTerminalsEnvironment) {
  EXPECT_EQ(colourModeFor("truecolor", "xterm-256color"), ColourMode::TrueColour);
  EXPECT_EQ(colourModeFor("24bit", "screen"), ColourMode::TrueColour);
  // Every name ending in -256color: tmux's own (Debian's default), screen's, and the rest.
  for (const char* term : {"xterm-256color", "tmux-256color", "screen-256color", "rxvt-unicode-256color", "foot-256color"}) {
    EXPECT_EQ(colourModeFor(nullptr, term), ColourMode::Palette256) << term;
  }
  EXPECT_EQ(colourModeFor(nullptr, "screen"), ColourMode::Sixteen);
  EXPECT_EQ(colourModeFor(nullptr, nullptr), ColourMode::Sixteen);
  EXPECT_EQ(colourModeFor("truecolor", "linux"), ColourMode::Sixteen) << "the Linux console keeps its sixteen";
}

TEST(FrameEncoderTest, OnlyTheHalfOfTheColoursThatChangedIsSentInEachMode) {
  const auto after = [](ColourMode mode, std::uint16_t second) {
    ScreenModel model;
    model.colours = mode;
    encode(model, {cell('a', 0x1C), cell('b', 0x1C)}, 2, 1);
    return encode(model, {cell('a', 0x1C), cell('b', second)}, 2, 1);
  };
  EXPECT_EQ(after(ColourMode::Sixteen, 0x1E), "\x1b[?2026h\x1b[1;2H\x1b[93mb\x1b[?2026l");
  EXPECT_EQ(after(ColourMode::Sixteen, 0x4C), "\x1b[?2026h\x1b[1;2H\x1b[41mb\x1b[?2026l");
  EXPECT_EQ(after(ColourMode::TrueColour, 0x1E), "\x1b[?2026h\x1b[1;2H\x1b[38;2;255;255;0mb\x1b[?2026l");
  EXPECT_EQ(after(ColourMode::Palette256, 0x7C), "\x1b[?2026h\x1b[1;2H\x1b[48;5;250mb\x1b[?2026l");
  EXPECT_EQ(after(ColourMode::Palette256, 0x87), "\x1b[?2026h\x1b[1;2H\x1b[38;5;250;48;5;244mb\x1b[?2026l");
}

TEST(FrameEncoderTest, CodePage437BytesBecomeTheirCharacters) {
  EXPECT_EQ(cp437ToUtf8(0xDB), "\u2588");  // full block
  EXPECT_EQ(cp437ToUtf8(0xDF), "\u2580");  // upper half block
  EXPECT_EQ(cp437ToUtf8(0xB0), "\u2591");
  EXPECT_EQ(cp437ToUtf8(0xC9), "\u2554");
  EXPECT_EQ(cp437ToUtf8(0xE1), "\u00DF");
  EXPECT_EQ(cp437ToUtf8(0xFF), "\u00A0");
  EXPECT_EQ(cp437ToUtf8(0x01), "\u263A");
  EXPECT_EQ(cp437ToUtf8(0x7F), "\u2302");
  EXPECT_EQ(cp437ToUtf8(0x00), " ");
  EXPECT_EQ(cp437ToUtf8('|'), "|");
  // No byte ever reaches the terminal as a raw control character.
  for (int byte = 0; byte < 256; ++byte) {
    for (unsigned char c : cp437ToUtf8(static_cast<unsigned char>(byte))) EXPECT_GE(c, 0x20) << byte;
  }

  ScreenModel model;
  std::vector<CHAR_INFO> cells = {cell('\xDB', 0x6E), cell('\xDF', 0x1F)};
  const std::string out = encode(model, cells, 2, 1);
  EXPECT_NE(out.find("\x1b[93;43m\u2588\x1b[97;44m\u2580"), std::string::npos) << out;
}

TEST(FrameEncoderTest, ASoundRequestIsAShortSequenceWithinATonesBounds) {
  std::string out;
  appendSoundRequest(out, {440.0, 110.125, 0.25, 0.15});
  EXPECT_EQ(out, "\x1b]7707;440.00;110.13;250;0.1500\a");
  out.clear();
  appendSoundRequest(out, {-5.0, 1e9, std::nan(""), 3.0});
  EXPECT_EQ(out, "\x1b]7707;0.00;100000.00;0;1.0000\a") << "nothing a terminal could choke on";
}

}  // namespace
}  // namespace veldra::platform::terminal
