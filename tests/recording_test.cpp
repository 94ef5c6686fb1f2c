// Recordings: recorded games verify as identical; damaged, cut, mismatched or diverging
// ones are told apart, each with its own line and status.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>

#include "program/recording.h"
#include "program/recording_file.h"
#include "core/colours.h"
#include "core/game.h"
#include "core/messages.h"
#include "program/program.h"
#include "platform/headless/headless.h"
#include "platform/pad_reading.h"
#include "platform/random.h"
#include "test_support.h"

namespace veldra {
namespace {

namespace headless = platform::headless;

constexpr const char* kRecording = "game.vdm";

// A short game: the title, Enter, a walk with turns, the mouse turning both ways and resting
// at the edge, a staff swing by its button, a pause, and Esc.
void scriptShortGame() {
  headless::setInputScript([](int frame) {
    testing::releaseAllKeys();
    headless::setMouseTurn(frame > 60 && frame < 80 ? 30000 - 3500 * (frame - 60) : 0);
    headless::setPointerEdge(frame > 90 && frame < 100 ? 1 : 0);
    if (frame == 105) headless::setKeyDown(vk::kLeftButton, true);
    if (frame == 2) headless::setKeyDown(vk::kEnter, true);
    if (frame > 5 && frame < 60) headless::setKeyDown(vk::kUp, true);
    if (frame > 30 && frame < 50) headless::setKeyDown(vk::kRight, true);
    if (frame == 150 || frame == 170) headless::setKeyDown(vk::kP, true);
    if (frame > 180 && frame < 230) headless::setKeyDown(vk::kLeft, true);
    if (frame == 260) headless::setKeyDown(vk::kEscape, true);
  });
}

class RecordingTest : public testing::ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    installShippedLevel("otestinggrounds.txt");
    installShippedLevel("iaxismundi.txt");
  }

  // Records the short game into kRecording on a fresh headless backend.
  void recordShortGame() {
    headless::reset();
    headless::setWindowSize(100, 32);
    scriptShortGame();
    ASSERT_EQ(runProgram(parseCommandLine({"--record", kRecording})), 0);
  }

  struct Outcome {
    int status;
    std::string output;  // standard output and error, whatever was written
  };
  // Verifies a file on a fresh headless backend (devices off), as `veldra --verify` does.
  static Outcome verify(const std::string& file = kRecording) {
    headless::reset();
    int status = 0;
    try {
      status = runProgram(parseCommandLine({"--verify", file}));
    } catch (const headless::ProcessExit& exit) {
      status = exit.status;
    }
    return {status, headless::standardOutput() + headless::standardError()};
  }

  std::string bytes(const std::string& file = kRecording) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  void write(const std::string& contents, const std::string& file = kRecording) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << contents;
  }
};

TEST_F(RecordingTest, ARecordedGameVerifiesAsIdentical) {
  recordShortGame();
  const std::string recorded = bytes();
  EXPECT_LT(recorded.size(), 4000u) << "a few bytes a frame";
  const Outcome outcome = verify();
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "game.vdm: 261 frames, identical\n") << "one line, nothing else";

  std::string error;
  const auto recording = recording::decode(recorded, error);
  ASSERT_TRUE(recording) << error;
  EXPECT_EQ(recording->frames.size(), 261u);
  EXPECT_TRUE(recording->frames[59].checkpoint.has_value());
  EXPECT_FALSE(recording->frames[60].checkpoint.has_value());
  EXPECT_TRUE(recording->header.console);
  EXPECT_EQ(recording->header.columns, 100);
}

// The golden games drawn again, every cell of every picture (at the window each was recorded
// in): a change meant to make frames cheaper must leave each picture as it was.
TEST_F(RecordingTest, TheGoldenGamesDrawThePicturesTheyAlwaysDrew) {
  const std::pair<const char*, std::uint64_t> goldens[] = {{"fight", 4855577518841604388u}, {"round-trip", 6649168193537209885u}};
  for (const auto& [name, digest] : goldens) {
    const std::string file = std::string(VELDRA_SOURCE_DIR) + "/tests/demos/" + name + ".vdm";
    headless::reset();
    ASSERT_EQ(runProgram(parseCommandLine({"--replay", file})), 0) << headless::standardOutput();
    EXPECT_EQ(headless::picturesDigest(), digest) << name << ": " << headless::frameWrites() << " pictures of "
                                                  << headless::lastFrameWidth() << " x " << headless::lastFrameHeight();
  }
}

// Each record is in the file as soon as its frame is played (the signal-safe buffering is
// the terminal's alone); a file that cannot take the game is reported once it is over.
TEST_F(RecordingTest, RecordsReachTheFileAsTheyArePlayedAndAFullDiskIsReported) {
  headless::reset();
  headless::setWindowSize(100, 32);
  std::size_t framesInFile = 0;
  headless::setInputScript([&](int frame) {
    testing::releaseAllKeys();
    if (frame == 2) headless::setKeyDown(vk::kEnter, true);
    if (frame == 100) {
      std::string error;
      const auto sofar = recording::decode(bytes(), error);
      framesInFile = sofar ? sofar->frames.size() : 0;
    }
    if (frame == 110) headless::setKeyDown(vk::kEscape, true);
  });
  ASSERT_EQ(runProgram(parseCommandLine({"--record", kRecording})), 0);
  EXPECT_EQ(framesInFile, 100u) << "every frame played before the 101st";

  headless::reset();
  headless::setWindowSize(100, 32);
  headless::setInputScript([](int frame) {
    testing::releaseAllKeys();
    if (frame == 2) headless::setKeyDown(vk::kEnter, true);
    if (frame == 20) headless::setKeyDown(vk::kEscape, true);
  });
  EXPECT_EQ(runProgram(parseCommandLine({"--record", "/dev/full"})), 2);
  EXPECT_NE(headless::standardError().find("veldra: /dev/full: could not be written in full"), std::string::npos)
      << headless::standardError();
}

// A recording written again with each frame's input changed by `change` (frame index, input).
std::string rewritten(const recording::Recording& recording, const std::function<void(std::size_t, platform::FrameInput&)>& change) {
  std::string bytes = recording::encodeStart(recording.header);
  platform::FrameInput previous = recording::startingInput(recording.header);
  for (std::size_t i = 0; i < recording.frames.size(); ++i) {
    recording::FrameRecord frame = recording.frames[i];
    change(i, frame.input);
    bytes += recording::encodeFrameRecord(previous, frame);
    previous = frame.input;
  }
  return bytes + recording::encodeClosing(*recording.closing);
}

TEST_F(RecordingTest, AGameThatPlaysOutDifferentlyIsCaughtAtItsFirstCheckpoint) {
  recordShortGame();
  std::string error;
  auto recording = recording::decode(bytes(), error);
  ASSERT_TRUE(recording);
  const auto unchanged = [](std::size_t, platform::FrameInput&) {};

  // The same keys with another start of the random generator: rain and flicker differ.
  recording->header.randState = 12345;
  write(rewritten(*recording, unchanged));
  const Outcome outcome = verify();
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.output, "game.vdm: frame 60 differs: the frame and game state checksums\n");
  recording->header.randState = 1;

  // A turn of the mouse lost: the view differs from the checkpoint after it.
  write(rewritten(*recording, [](std::size_t i, platform::FrameInput& input) {
    if (i == 70) input.mouseTurn = 0;
  }));
  EXPECT_EQ(verify().output, "game.vdm: frame 120 differs: the frame and game state checksums\n");

  // Esc never pressed: the game goes on past the recording.
  write(rewritten(*recording, [](std::size_t, platform::FrameInput& input) { input.keys[vk::kEscape] = false; }));
  EXPECT_EQ(verify().output, "game.vdm: frame 262 differs: the game goes on after the recording's end\n");

  // Esc pressed early: the game ends while the recording goes on.
  write(rewritten(*recording, [](std::size_t i, platform::FrameInput& input) { input.keys[vk::kEscape] = i == 99; }));
  const Outcome early = verify();
  EXPECT_EQ(early.status, 1);
  EXPECT_EQ(early.output, "game.vdm: frame 100 differs: the game ended there, the recording goes on to frame 261\n");
}

TEST_F(RecordingTest, FromVersionThreeTheStateChecksumCoversTheRandomGenerator) {
  // Rain and particles can drift while nothing else of the state shows it yet.
  headless::reset();
  const Game game;
  const auto sumWithGenerator = [&](unsigned randState, std::uint32_t version) {
    platform::seedRand15(randState);
    return recording::stateChecksum(game, version);
  };
  for (std::uint32_t version = 1; version <= recording::kFormatVersion; ++version) {
    EXPECT_EQ(sumWithGenerator(1, version) != sumWithGenerator(2, version), version >= 3) << "version " << version;
  }
}

TEST_F(RecordingTest, FromVersionFourTheFrameChecksumCoversTheMessageLines) {
  // The message lines are printed over the frame, not into its cells.
  headless::reset();
  headless::setWindowSize(100, 32);
  Game game;
  game.inFrontEnd = false;
  postMessage(game, "A scroll of IGNIS!", colour::kYellow);
  const auto sumWithText = [&](const char* text, std::uint32_t version) {
    game.messages[0].text = text;
    return recording::frameChecksum(game, version);
  };
  for (std::uint32_t version = 1; version <= recording::kFormatVersion; ++version) {
    EXPECT_EQ(sumWithText("one", version) != sumWithText("two", version), version >= 4) << "version " << version;
  }
}

TEST_F(RecordingTest, AGameRecordedWithASettingsFileVerifiesWithoutIt) {
  // Preset B at start, forward on Z: the walk is the settings file's.
  write("preset = \"B\"\n[preset-b]\nforward = \"Z\"\nherba = \"H\"\n", "veldra.toml");
  headless::reset();
  headless::setWindowSize(100, 32);
  headless::setInputScript([](int frame) {
    testing::releaseAllKeys();
    if (frame == 2) headless::setKeyDown(vk::kEnter, true);
    if (frame > 5 && frame < 70) headless::setKeyDown('Z', true);
    if (frame == 80) headless::setKeyDown(vk::kEscape, true);
  });
  ASSERT_EQ(runProgram(parseCommandLine({"--config", "veldra.toml", "--record", kRecording})), 0);
  std::filesystem::remove("veldra.toml");
  std::string error;
  auto recording = recording::decode(bytes(), error);
  ASSERT_TRUE(recording) << error;
  EXPECT_EQ(recording->header.bindings.presetAtStart, kPresetB);
  EXPECT_EQ(recording->header.bindings.presets[kPresetB].actions[0].keys[0], 'Z');
  EXPECT_EQ(verify().output, "game.vdm: 81 frames, identical\n");
  // With the shipped bindings Z is no key of the game: the walk never happens.
  recording->header.bindings = defaultBindings();
  write(rewritten(*recording, [](std::size_t, platform::FrameInput&) {}));
  EXPECT_EQ(verify().output, "game.vdm: frame 60 differs: the frame and game state checksums\n");
}

TEST_F(RecordingTest, AGamePlayedWithAGamepadVerifiesWithoutIt) {
  headless::reset();
  headless::setWindowSize(100, 32);
  headless::setInputScript([](int frame) {
    testing::releaseAllKeys();
    platform::PadReading pad;
    pad.present = frame >= 10 && frame < 70;
    pad.axes[static_cast<int>(platform::PadAxis::LeftY)] = frame < 40 ? -32768 : 0;
    pad.axes[static_cast<int>(platform::PadAxis::RightX)] = frame >= 40 && frame < 50 ? 20000 : 0;
    pad.buttons[static_cast<int>(platform::PadButton::A)] = frame == 55;
    headless::setPad(pad);
    if (frame == 2) headless::setKeyDown(vk::kEnter, true);
    if (frame == 80) headless::setKeyDown(vk::kP, true);
    if (frame == 90) headless::setKeyDown(vk::kEscape, true);
  });
  ASSERT_EQ(runProgram(parseCommandLine({"--record", kRecording})), 0);
  EXPECT_EQ(verify().output, "game.vdm: 91 frames, identical\n");
  std::string error;
  auto recording = recording::decode(bytes(), error);
  ASSERT_TRUE(recording) << error;
  EXPECT_TRUE(recording->frames[20].input.padPresent && recording->frames[20].input.keys[vk::kPadLeftStickUp]);
  EXPECT_FALSE(recording->frames[75].input.padPresent);
  // The right stick's turn lost: the view differs from the next checkpoint on.
  write(rewritten(*recording, [](std::size_t i, platform::FrameInput& input) {
    if (i == 45) input.padTurn = 0;
  }));
  EXPECT_EQ(verify().output, "game.vdm: frame 60 differs: the frame and game state checksums\n");
}

TEST_F(RecordingTest, ARecordingCutAtAFrameVerifiesUpToIt) {
  recordShortGame();
  std::string error;
  const auto recording = recording::decode(bytes(), error);
  ASSERT_TRUE(recording);
  // What Ctrl+C leaves: the header and whole frames, no closing record.
  std::string cut = recording::encodeStart(recording->header);
  platform::FrameInput previous = recording::startingInput(recording->header);
  for (std::size_t i = 0; i < 100; ++i) {
    cut += recording::encodeFrameRecord(previous, recording->frames[i]);
    previous = recording->frames[i].input;
  }
  write(cut);
  const Outcome outcome = verify();
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "game.vdm: 100 frames, identical (the recording has no closing record)\n");

  // Cut inside the next frame's record instead: refused before anything is played.
  write(cut + recording::encodeFrameRecord(previous, recording->frames[100]).substr(0, 3));
  const Outcome halfFrame = verify();
  EXPECT_EQ(halfFrame.status, 2);
  EXPECT_EQ(halfFrame.output, "veldra: game.vdm: the file is cut short in frame 101\n");
}

TEST_F(RecordingTest, EveryFlippedByteIsCaught) {
  recordShortGame();
  const std::string good = bytes();
  std::string error;
  for (std::size_t i = 0; i < good.size(); ++i) {
    std::string damaged = good;
    damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    EXPECT_FALSE(recording::decode(damaged, error)) << "byte " << i << " of " << good.size();
  }
  // One through the program, in each part: the mark, the header, a frame, the closing record.
  const auto flipAt = [&](std::size_t at) {
    std::string damaged = good;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x01);
    write(damaged);
    return verify();
  };
  EXPECT_EQ(flipAt(3).output, "veldra: game.vdm: not a Veldra recording\n");
  EXPECT_EQ(flipAt(20).output, "veldra: game.vdm: the header is damaged\n");
  const Outcome frame = flipAt(good.size() / 2);
  EXPECT_EQ(frame.status, 2);
  EXPECT_NE(frame.output.find(" is damaged\n"), std::string::npos) << frame.output;
  EXPECT_EQ(flipAt(good.size() - 6).output, "veldra: game.vdm: the closing record is damaged\n");
}

TEST_F(RecordingTest, UnusableFilesAndChangedLevelsAreRefused) {
  write("");
  EXPECT_EQ(verify().output, "veldra: game.vdm: the file is empty\n");
  EXPECT_EQ(verify().status, 2);
  EXPECT_EQ(verify("missing.vdm").output, "veldra: missing.vdm: cannot be read\n");
  write("VELDRA DEMO\nH");
  EXPECT_EQ(verify().output, "veldra: game.vdm: the header is damaged\n");

  recording::Header future;
  future.version = recording::kFormatVersion + 1;
  write(recording::encodeStart(future));
  EXPECT_EQ(verify().output, "veldra: game.vdm: format version 5 is not supported (this game reads 1 to 4)\n");

  recordShortGame();
  std::ofstream("iaxismundi.txt", std::ios::app) << "#";
  const Outcome changed = verify();
  EXPECT_EQ(changed.status, 2);
  EXPECT_EQ(changed.output, "veldra: game.vdm: level file 'iaxismundi.txt' differs from the one recorded\n");
  std::filesystem::remove("iaxismundi.txt");
  EXPECT_EQ(verify().output, "veldra: game.vdm: level file 'iaxismundi.txt' is missing\n");
}

TEST_F(RecordingTest, ArgumentsChooseTheModeAndAnythingElseGetsTheUsage) {
  EXPECT_EQ(parseCommandLine({}).mode, RunMode::Play);
  EXPECT_EQ(parseCommandLine({"--record", "a"}).mode, RunMode::Record);
  EXPECT_EQ(parseCommandLine({"--replay", "a"}).mode, RunMode::Replay);
  EXPECT_EQ(parseCommandLine({"--verify", "a"}).file, "a");
  EXPECT_EQ(parseCommandLine({"--verify"}).mode, RunMode::Usage);
  EXPECT_EQ(parseCommandLine({"--verify", ""}).mode, RunMode::Usage);
  EXPECT_EQ(parseCommandLine({"--play", "a"}).mode, RunMode::Usage);
  EXPECT_EQ(parseCommandLine({"--record", "a", "b"}).mode, RunMode::Usage);
  for (const char* bad : {"99", "", "24"}) EXPECT_EQ(parseCommandLine({"--colours", bad}).mode, RunMode::Usage) << bad;
  EXPECT_EQ(parseCommandLine({"--colours"}).mode, RunMode::Usage);
  EXPECT_EQ(parseCommandLine({"--colours", "16", "--colours", "16"}).mode, RunMode::Usage);
  EXPECT_EQ(parseCommandLine({"--record", "a", "--replay", "b"}).mode, RunMode::Usage);
  const CommandLine recorded = parseCommandLine({"--colours", "24bit", "--record", "a"});
  EXPECT_EQ(recorded.mode, RunMode::Record);
  EXPECT_EQ(recorded.file, "a");
  EXPECT_EQ(recorded.colours, platform::Colours::TrueColour);
  EXPECT_EQ(parseCommandLine({"--replay", "a", "--colours", "256"}).colours, platform::Colours::Palette256);
  EXPECT_EQ(parseCommandLine({"--colours", "16"}).mode, RunMode::Play);
  EXPECT_EQ(parseCommandLine({"--no-mouse", "--record", "a"}).mouseOn, false);
  EXPECT_FALSE(parseCommandLine({"--record", "a"}).mouseOn.has_value()) << "left to the settings file";
  EXPECT_EQ(parseCommandLine({"--mouse-speed", "250", "--no-mouse"}).mouseSpeed, 250);
  EXPECT_EQ(parseCommandLine({"--volume", "0", "--config", "f"}).volume, 0);
  EXPECT_EQ(parseCommandLine({"--print-settings", "--no-config"}).mode, RunMode::PrintSettings);
  for (const std::vector<std::string>& bad : std::initializer_list<std::vector<std::string>>{
           {"--mouse-speed", "0"}, {"--mouse-speed", "1001"}, {"--mouse-speed", "x"}, {"--mouse-speed"},
           {"--no-mouse", "--no-mouse"}, {"--mouse-speed", "5", "--mouse-speed", "5"}, {"--help", "--no-mouse"},
           {"--volume", "101"}, {"--config", "f", "--no-config"}, {"--print-settings", "--record", "a"}}) {
    EXPECT_EQ(parseCommandLine(bad).mode, RunMode::Usage) << bad[0];
  }
  EXPECT_EQ(parseCommandLine({"-h"}).mode, RunMode::Help);
  EXPECT_EQ(runProgram(parseCommandLine({"--help"})), 0);
  EXPECT_EQ(headless::standardOutput().rfind("usage: veldra", 0), 0u);
  EXPECT_EQ(headless::standardError(), "");
  EXPECT_EQ(runProgram(parseCommandLine({"--version"})), 0);
  EXPECT_NE(headless::standardOutput().find("\nveldra 1.0.0\n"), std::string::npos);
  EXPECT_EQ(runProgram(parseCommandLine({"--bogus"})), 2);
  EXPECT_EQ(headless::standardError().rfind("usage: veldra", 0), 0u);
  EXPECT_EQ(runProgram(parseCommandLine({"--record", "no/such/folder/x.vdm"})), 2);
  EXPECT_NE(headless::standardError().find("veldra: no/such/folder/x.vdm: cannot be written\n"), std::string::npos);
}

}  // namespace
}  // namespace veldra
