#include "program/recording.h"

#include <algorithm>
#include <fstream>

#include "program/checksum.h"
#include "core/game.h"
#include "render/present_frame.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/process.h"
#include "platform/random.h"

namespace veldra::recording {
namespace {

constexpr std::int32_t kLongestPauseMs = 1000;  // a replay never stalls longer than this

LevelFileSum sumOfFile(const std::string& name) {
  LevelFileSum sum;
  sum.name = name;
  std::ifstream in(name, std::ios::binary);
  if (!in.is_open()) return sum;
  sum.present = true;
  Crc32 crc;
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    const auto count = static_cast<std::size_t>(in.gcount());
    crc.add(buffer, count);
    sum.size += count;
  }
  sum.crc = crc.value();
  return sum;
}

}  // namespace

std::vector<LevelFileSum> levelFileSums(const std::array<std::string, kLevelSlots>& table) {
  std::vector<LevelFileSum> sums;
  for (const std::string& name : table) {
    const bool seen = std::any_of(sums.begin(), sums.end(), [&](const LevelFileSum& s) { return s.name == name; });
    if (!seen) sums.push_back(sumOfFile(name));
  }
  return sums;
}

std::uint32_t frameChecksum(const Game& game, std::uint32_t version) {
  Crc32 crc;
  crc.addValue(game.screen.cellCount);
  for (std::int32_t i = 0; i < game.screen.cellCount; ++i) {
    const CHAR_INFO& cell = game.screen.cells[static_cast<std::size_t>(i)];
    crc.addValue(cell.Char.AsciiChar);
    crc.addValue(cell.Attributes);
  }
  // The message lines are printed over the written frame, not into its cells.
  if (version >= 4 && !game.inFrontEnd) {
    const std::size_t shown = messagesShown(game);
    crc.addValue(shown);
    for (std::size_t k = 0; k < shown; ++k) {
      crc.add(game.messages[k].text);
      crc.addValue(game.messages[k].colour);
    }
  }
  return crc.value();
}

std::uint32_t stateChecksum(const Game& game, std::uint32_t version) {
  Crc32 crc;
  crc.addValue(game.playerX);
  crc.addValue(game.playerY);
  crc.addValue(game.playerAngle);
  crc.addValue(game.hp);
  crc.addValue(game.mp);
  crc.addValue(game.mpMax);
  crc.addValue(game.levelIndex);
  crc.addValue(game.alive);
  crc.addValue(game.enemies.size());
  crc.addValue(game.projectiles.size());
  crc.addValue(game.particles.size());
  // Enemies move all over the level, seen or not: their places show a change early.
  for (const Enemy& enemy : game.enemies) {
    crc.addValue(enemy.x);
    crc.addValue(enemy.y);
    crc.addValue(enemy.hp);
  }
  // Rain and particles draw from the generator: a drift there shows at the next checkpoint.
  if (version >= 3) crc.addValue(platform::rand15State());
  return crc.value();
}

Checkpoint checkpointOf(const Game& game, std::uint32_t version) {
  return Checkpoint{frameChecksum(game, version), stateChecksum(game, version)};
}

Header headerForNow() {
  Header header;
  header.randState = platform::rand15State();
  header.startTicks = platform::tickCount();
  header.console = platform::consoleWindowSize(platform::standardOutputHandle(), header.columns, header.rows);
  if (!header.console) header.columns = header.rows = 0;
  header.levels = levelFileSums(defaultLevelTable());
  return header;
}

std::string levelMismatch(const Header& header) {
  for (const LevelFileSum& recorded : header.levels) {
    const LevelFileSum now = sumOfFile(recorded.name);
    if (now == recorded) continue;
    if (recorded.present && !now.present) return "level file '" + recorded.name + "' is missing";
    if (!recorded.present) return "level file '" + recorded.name + "' was missing when the game was recorded";
    return "level file '" + recorded.name + "' differs from the one recorded";
  }
  return "";
}

// ---- recording ----

Recorder::~Recorder() { platform::closeRecordFile(file_); }

bool Recorder::start(const std::string& path, const Header& header, std::string& error) {
  file_ = platform::openRecordFile(path);
  if (!file_) {
    error = "cannot be written";
    return false;
  }
  previous_ = startingInput(header);
  write(encodeStart(header));
  return true;
}

void Recorder::write(const std::string& bytes) {
  if (!file_) return;
  platform::appendRecord(*file_, bytes);
}

void Recorder::frameRead(const platform::FrameInput& input) { current_ = input; }

void Recorder::frameDrawn(const Game& game) {
  FrameRecord frame{current_, std::nullopt};
  ++frames_;
  if (frames_ % kCheckpointEvery == 0) frame.checkpoint = checkpointOf(game, kFormatVersion);
  write(encodeFrameRecord(previous_, frame));
  if (frame.checkpoint && file_) platform::flushRecords(*file_);
  previous_ = current_;
}

bool Recorder::finish(const Game& game) {
  write(encodeClosing(Closing{frames_, checkpointOf(game, kFormatVersion)}));
  const bool whole = platform::closeRecordFile(file_);
  file_ = nullptr;
  return whole;
}

// ---- playing back ----

Playback::Playback(Recording recording, PlaybackMode mode, std::string name)
    : recording_(std::move(recording)), mode_(mode), name_(std::move(name)) {}

// The first verdict stands: the game plays no further frame once there is one.
void Playback::decide(const std::string& line, int status) {
  if (!verdict_) verdict_ = Verdict{line, status};
}

bool Playback::nextFrame(const platform::FrameInput& devices, platform::FrameInput& input) {
  if (mode_ == PlaybackMode::Replay && devices.keys[vk::kEscape]) decide(name_ + ": replay stopped", 0);
  if (!verdict_ && served_ >= recording_.frames.size()) {
    if (recording_.closing) {
      decide(name_ + ": frame " + std::to_string(served_ + 1) + " differs: the game goes on after the recording's end",
             1);
    } else if (mode_ == PlaybackMode::Replay) {
      decide(name_ + ": end of the recording (it has no closing record)", 0);
    } else {
      decide(name_ + ": " + std::to_string(served_) + " frames, identical (the recording has no closing record)", 0);
    }
  }
  if (verdict_) return false;
  input = recording_.frames[served_++].input;
  if (mode_ == PlaybackMode::Replay) keepRecordedPace(devices.ticks, input.ticks);
  return true;
}

// A replay waits where the recorded game took longer than this one does, so that it runs
// at the recorded pace (it cannot catch up where this machine is slower).
void Playback::keepRecordedPace(std::uint32_t now, std::uint32_t recorded) {
  if (served_ == 1) {
    replayStart_ = now;
    recordedStart_ = recorded;
    return;
  }
  const std::uint32_t due = replayStart_ + (recorded - recordedStart_);
  const auto ahead = static_cast<std::int32_t>(due - now);
  if (ahead > 0) platform::sleepMilliseconds(static_cast<std::uint32_t>(std::min(ahead, kLongestPauseMs)));
}

void Playback::differs(std::uint32_t frame, const Checkpoint& expected, const Checkpoint& found) {
  std::string what;
  if (expected.frame != found.frame && expected.state != found.state) what = "the frame and game state checksums";
  else if (expected.frame != found.frame) what = "the frame checksum";
  else what = "the game state checksum";
  decide(name_ + ": frame " + std::to_string(frame) + " differs: " + what, 1);
}

void Playback::frameDrawn(const Game& game) {
  if (mode_ != PlaybackMode::Verify || verdict_) return;
  const FrameRecord& frame = recording_.frames[served_ - 1];
  if (!frame.checkpoint) return;
  const Checkpoint found = checkpointOf(game, recording_.header.version);
  if (!(found == *frame.checkpoint)) differs(served_, *frame.checkpoint, found);
}

// The game ended by itself (a quit or a death), with every frame served so far as recorded.
Playback::Verdict Playback::verdictAtEnd(const Game& game) {
  const std::uint32_t recorded = static_cast<std::uint32_t>(recording_.frames.size());
  if (served_ < recorded) {
    return {name_ + ": frame " + std::to_string(served_) + " differs: the game ended there, the recording goes on to frame " +
                std::to_string(recorded),
            1};
  }
  if (!recording_.closing) {
    return {name_ + ": " + std::to_string(served_) + " frames, identical (the recording has no closing record)", 0};
  }
  const Checkpoint found = checkpointOf(game, recording_.header.version);
  if (!(found == recording_.closing->last)) {
    differs(served_, recording_.closing->last, found);
    return *verdict_;
  }
  return {name_ + ": " + std::to_string(served_) + " frames, identical", 0};
}

int Playback::finish(const Game& game) {
  if (mode_ == PlaybackMode::Replay) return finishReplay();
  const Verdict verdict = verdict_ ? *verdict_ : verdictAtEnd(game);
  platform::writeResult(verdict.line + "\n");
  return verdict.status;
}

// A replay that ran to its quit says nothing of its end; one stopped or cut short says so.
// Its lines follow the game's start-up lines, the last of which is left open.
int Playback::finishReplay() {
  if (verdict_) platform::writeResult("\n" + verdict_->line + "\n");
  if (platform::pictureWasCut()) {
    platform::writeResult("\n" + name_ + ": the terminal was smaller than the recording's " +
                          std::to_string(recording_.header.columns) + " x " + std::to_string(recording_.header.rows) +
                          " cells: only the top-left part was shown\n");
  }
  return verdict_ ? verdict_->status : 0;
}

}  // namespace veldra::recording
