// The picture's output when the terminal stops reading: a blocking terminal holds the game
// until it reads and loses nothing; a non-blocking one costs at most the patience, the cut
// frame is dropped, and the next frame that goes out is whole and correct.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <deque>
#include <functional>
#include <utility>
#include <thread>

#include "frame_maker.h"
#include "model_terminal.h"
#include "shows_frame.h"
#include "platform/terminal/cp437.h"
#include "platform/terminal/output.h"
#include "platform/terminal/output_pacing.h"
#include "platform/terminal/terminal_session.h"
#include "platform/wave_out.h"

namespace veldra::platform::terminal {
namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 50;


class TerminalOutputTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(::pipe(ends_), 0); }
  void TearDown() override {
    ::close(ends_[0]);
    ::close(ends_[1]);
  }
  void nonBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }

  // Everything written so far, fed to the terminal.
  void drainInto(testing::ModelTerminal& terminal) {
    nonBlocking(ends_[0]);
    char buffer[65536];
    for (;;) {
      const ssize_t count = ::read(ends_[0], buffer, sizeof buffer);
      if (count <= 0) return;
      ASSERT_TRUE(terminal.feed(std::string_view(buffer, static_cast<std::size_t>(count)))) << terminal.error();
    }
  }

  int ends_[2] = {-1, -1};  // read, write
};

TEST_F(TerminalOutputTest, AStalledNonBlockingTerminalGetsTheNextFrameWhole) {
  nonBlocking(ends_[1]);
  testing::FrameMaker maker(3);
  testing::ModelTerminal terminal(kWidth, kHeight);
  FrameOutput output;
  std::string scratch;
  testing::Frame frame = maker.fresh(kWidth, kHeight);
  // Nobody reads: frames go out until the pipe is full and one is cut short.
  int sent = 0;
  while (sendFrame(output, ends_[1], "", frame.cells.data(), kWidth, kHeight, "", scratch, 10)) {
    frame = maker.changed(frame);
    ASSERT_LT(++sent, 1000);
  }
  EXPECT_TRUE(output.cut);
  drainInto(terminal);
  // The terminal reads again: the next frame clears whatever the cut left and is whole.
  frame = maker.changed(frame);
  ASSERT_TRUE(sendFrame(output, ends_[1], "", frame.cells.data(), kWidth, kHeight, "", scratch, 10));
  EXPECT_FALSE(output.cut);
  drainInto(terminal);
  EXPECT_TRUE(terminal.idle());
  EXPECT_TRUE(testing::showsFrame(terminal, frame));
  // And the one after it is a plain difference again.
  const testing::Frame next = maker.changed(frame);
  ASSERT_TRUE(sendFrame(output, ends_[1], "", next.cells.data(), kWidth, kHeight, "", scratch, 10));
  drainInto(terminal);
  EXPECT_TRUE(testing::showsFrame(terminal, next));
}

TEST_F(TerminalOutputTest, ABlockingTerminalThatStallsLosesNothing) {
  testing::FrameMaker maker(5);
  testing::ModelTerminal terminal(kWidth, kHeight);
  std::string received;
  // The reader stalls a while, then reads everything to the end.
  std::thread reader([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    char buffer[65536];
    for (;;) {
      const ssize_t count = ::read(ends_[0], buffer, sizeof buffer);
      if (count <= 0) return;
      received.append(buffer, static_cast<std::size_t>(count));
    }
  });
  FrameOutput output;
  std::string scratch;
  testing::Frame frame = maker.fresh(kWidth, kHeight);
  for (int i = 0; i < 20; ++i) {
    if (i > 0) frame = maker.changed(frame);
    ASSERT_TRUE(sendFrame(output, ends_[1], "", frame.cells.data(), kWidth, kHeight, "", scratch, 10));
  }
  ::close(ends_[1]);
  ends_[1] = ::open("/dev/null", O_WRONLY);
  reader.join();
  ASSERT_TRUE(terminal.feed(received)) << terminal.error();
  EXPECT_TRUE(testing::showsFrame(terminal, frame));
}

TEST_F(TerminalOutputTest, AClosedTerminalIsACutNotAHang) {
  ::close(ends_[0]);
  ends_[0] = ::open("/dev/null", O_RDONLY);
  std::signal(SIGPIPE, SIG_IGN);
  EXPECT_FALSE(writeWithin(ends_[1], "bytes", 10)) << "EPIPE";
}

// The session's frames and console text, on the pipe standing in for the terminal (as
// standard output): while the terminal is behind a frame is held and its text dropped, and
// the frame sent after it is drawn in its own colours, whatever the dropped text asked for.
TEST_F(TerminalOutputTest, TheFrameAfterAHeldOneIsDrawnInItsOwnColours) {
  Session& s = session();
  s.outputIsTerminal = true;
  const int savedOutput = ::dup(STDOUT_FILENO);
  ::dup2(ends_[1], STDOUT_FILENO);
  const ConsoleHandle out = standardOutputHandle();
  const auto frameOf = [](char glyph, std::uint16_t attribute) {
    testing::Frame frame{16, 4, std::vector<CHAR_INFO>(64)};
    for (CHAR_INFO& cell : frame.cells) {
      cell.Char.AsciiChar = glyph;
      cell.Attributes = attribute;
    }
    return frame;
  };
  const testing::Frame first = frameOf('a', 0x1F);
  for (int i = 0; i < kMostUnansweredFrames; ++i) ASSERT_TRUE(writeConsoleCells(out, first.cells.data(), 16, 4));
  // The terminal is behind now: this frame and the text written with it are not sent.
  setConsoleTextAttribute(out, 0x4E);
  writeConsoleText(out, "text");
  writeConsoleCells(out, first.cells.data(), 16, 4);
  EXPECT_TRUE(s.frameHeld);
  // A tone for a terminal that plays them waits with the held frame: late, never lost.
  sendSoundToConsole({440.0, 220.0, 0.5, 0.25});
  flushConsoleText();
  answersArrived(s.pacing, kMostUnansweredFrames, s.pacing.lastProgressAt);
  const testing::Frame last = frameOf('b', 0x4E);
  writeConsoleCells(out, last.cells.data(), 16, 4);
  flushConsoleText();  // a frame goes out whole, with what is printed over it, at its end
  sendSoundToConsole({110.0, 110.0, 0.1, 1.0});
  flushConsoleText();  // and a tone with no frame goes out by itself
  ::dup2(savedOutput, STDOUT_FILENO);
  ::close(savedOutput);
  s.outputIsTerminal = false;
  testing::ModelTerminal terminal(16, 4);
  drainInto(terminal);
  EXPECT_TRUE(testing::showsFrame(terminal, last));
  EXPECT_EQ(terminal.tones(), (std::vector<std::string>{"440.00;220.00;500;0.2500", "110.00;110.00;100;1.0000"}))
      << "each tone once";
}

// Frames sent over 10 s at 60 a second (a query after each while asked), answered with
// `answer(sent)` answers at each frame; how many went out.
int framesSentWith(const std::function<int(int sent)>& answer) {
  OutputPacing pacing;
  int sent = 0;
  for (std::uint32_t now = 1000; now < 11000; now += 16) {
    answersArrived(pacing, answer(sent), now);
    if (!frameMayGo(pacing, now)) continue;
    ++sent;
    frameWentOut(pacing, now);
    EXPECT_LE(pacing.unanswered, kMostUnansweredFrames);
  }
  return sent;
}

TEST(OutputPacingTest, FramesGoOutAsTheTerminalTakesThemAndNeverFreezeForGood) {
  constexpr int kAllFrames = 625;
  int answered = 0;
  EXPECT_EQ(framesSentWith([&](int sent) { return std::exchange(answered, sent); }), kAllFrames) << "a quick terminal";
  // A slow line answers a frame's query five frames after it went out.
  std::deque<int> line(5, 0);
  answered = 0;
  const int slow = framesSentWith([&](int sent) {
    line.push_back(sent - answered);
    answered = sent;
    const int arriving = line.front();
    line.pop_front();
    return arriving;
  });
  EXPECT_GT(slow, kAllFrames / 4);
  EXPECT_LT(slow, kAllFrames * 3 / 5);
  // A terminal that never answers: a few frames, a second's pause, then every frame.
  constexpr int kPausedFrames = (kFirstAnswerWaitMs + 15) / 16 - kMostUnansweredFrames;
  EXPECT_EQ(framesSentWith([](int) { return 0; }), kAllFrames - kPausedFrames);
  // One that answers once and then drops every answer: a few frames every five seconds.
  EXPECT_EQ(framesSentWith([](int sent) { return sent == 1 ? 1 : 0; }), 1 + 2 * kMostUnansweredFrames);
}

}  // namespace
}  // namespace veldra::platform::terminal
