// The frame encoder against a model terminal: whatever the previous frame and the next,
// at any size up to 120 x 50 and across size changes and text drawn over the picture, in
// each of the three colour modes, the bytes sent leave the terminal showing exactly the next
// frame, with the right RGB in every cell.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "frame_maker.h"
#include "model_terminal.h"
#include "shows_frame.h"
#include "platform/terminal/cp437.h"
#include "platform/terminal/frame_encoder.h"

namespace veldra::platform::terminal {
namespace {

constexpr int kMaxWidth = 120;
constexpr int kMaxHeight = 50;
constexpr int kTrials = 2000;

using testing::Frame;
using testing::FrameMaker;


constexpr ColourMode kModes[] = {ColourMode::Sixteen, ColourMode::Palette256, ColourMode::TrueColour};

TEST(EncoderModelTest, AnyFrameAfterAnyFrameIsShownExactly) {
  FrameMaker maker(7);
  for (int trial = 0; trial < kTrials; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    const ColourMode mode = kModes[trial % 3];
    // Sometimes the terminal is exactly as wide as the frame, so the last column is written
    // and the terminal's pending wrap comes into play.
    const bool tight = maker.chance(0.3);
    Frame frame = maker.fresh(maker.upTo(kMaxWidth), maker.upTo(kMaxHeight));
    testing::ModelTerminal terminal(tight ? frame.width : kMaxWidth, tight ? frame.height : kMaxHeight);
    ScreenModel model;
    model.colours = mode;
    const int frames = maker.upTo(4);
    for (int k = 0; k < frames; ++k) {
      if (k > 0) frame = maker.next(frame, kMaxWidth, kMaxHeight);
      if (tight && (frame.width > kMaxWidth || frame.height > kMaxHeight)) break;
      std::string bytes;
      encodeFrame(model, frame.cells.data(), frame.width, frame.height, bytes);
      ASSERT_TRUE(terminal.feed(bytes)) << terminal.error();
      ASSERT_FALSE(terminal.synchronized()) << "a frame left synchronized output on";
      ASSERT_TRUE(terminal.idle()) << "a frame ended inside a sequence or character";
      ASSERT_TRUE(testing::showsFrame(terminal, frame, mode));
      if (tight) break;  // the next frame may be larger than this terminal
    }
  }
}

TEST(EncoderModelTest, TextDrawnOverThePictureIsRepairedByTheNextFrame) {
  FrameMaker maker(11);
  for (int trial = 0; trial < 300; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    const ColourMode mode = kModes[trial % 3];
    const Frame frame = maker.fresh(maker.upTo(kMaxWidth), maker.upTo(kMaxHeight));
    testing::ModelTerminal terminal(kMaxWidth, kMaxHeight);
    ScreenModel model;
    model.colours = mode;
    std::string bytes;
    encodeFrame(model, frame.cells.data(), frame.width, frame.height, bytes);
    ASSERT_TRUE(terminal.feed(bytes)) << terminal.error();
    // A message line written at the cursor, then the encoder told which cells it covered;
    // or the whole picture in doubt (a resume, a resize).
    const int row = maker.upTo(frame.height) - 1;
    const int column = maker.upTo(frame.width) - 1;
    const int length = maker.upTo(40);
    std::string text;
    appendCursorPosition(text, column, row);
    appendAttribute(text, 0x1E, mode);
    text += std::string(static_cast<std::size_t>(std::min(length, kMaxWidth - column)), 'M');
    ASSERT_TRUE(terminal.feed(text)) << terminal.error();
    if (maker.chance(0.2)) forgetScreen(model);
    else forgetCells(model, column, row, length);
    model.attribute = 0x1E;  // the backend follows the text colour it sets
    bytes.clear();
    encodeFrame(model, frame.cells.data(), frame.width, frame.height, bytes);
    ASSERT_TRUE(terminal.feed(bytes)) << terminal.error();
    ASSERT_TRUE(testing::showsFrame(terminal, frame, mode));
  }
}

}  // namespace
}  // namespace veldra::platform::terminal
