#pragma once
// Recording a game and playing a recording back: the recorder watches what the platform
// gives the game each frame and writes it down as the game goes; the player serves a
// recording's frames in place of the devices, either to show them (replay) or to check,
// frame by frame, that the game still plays them out the same (verify).

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "program/recording_file.h"
#include "program/frame_watcher.h"
#include "core/level_loader.h"
#include "platform/frame_input.h"
#include "platform/record_file.h"

namespace veldra::recording {

// The level files a recording depends on: every distinct file of the level table, as it
// stands in the working directory now.
std::vector<LevelFileSum> levelFileSums(const std::array<std::string, kLevelSlots>& table);

// What must come out the same: the composed frame's cells and the game state that matters,
// as a recording of the given format version sums it.
std::uint32_t frameChecksum(const Game& game, std::uint32_t version);
std::uint32_t stateChecksum(const Game& game, std::uint32_t version);
Checkpoint checkpointOf(const Game& game, std::uint32_t version);

// The header for a recording started now: generator state, clock, window, level files.
Header headerForNow();

// Compares a recording's level files with those in the working directory; empty when they
// match, otherwise what differs, in a few words.
std::string levelMismatch(const Header& header);

class Recorder : public platform::FrameInputObserver, public FrameWatcher {
 public:
  Recorder() = default;
  ~Recorder() override;
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // Creates the file and writes the header; false (with the reason) when it cannot.
  bool start(const std::string& path, const Header& header, std::string& error);
  void frameRead(const platform::FrameInput& input) override;
  // Writes the frame's record (with checksums every 60th frame). The records go out to the
  // file at each checksum frame and at the end; a game ended by a signal keeps them too.
  void frameDrawn(const Game& game) override;
  // The closing record: frames recorded and the final checksums. False when the file could
  // not be written in full.
  bool finish(const Game& game);

  std::uint32_t frames() const { return frames_; }

 private:
  void write(const std::string& bytes);

  platform::RecordFile* file_ = nullptr;
  platform::FrameInput previous_;
  platform::FrameInput current_;
  std::uint32_t frames_ = 0;
};

enum class PlaybackMode { Replay, Verify };

// The player stops serving frames as soon as it has a verdict (a checkpoint that differs,
// the recording's end, Esc in a replay); the game loop then ends, and finish says it.
class Playback : public platform::FrameInputSource, public FrameWatcher {
 public:
  Playback(Recording recording, PlaybackMode mode, std::string name);

  bool nextFrame(const platform::FrameInput& devices, platform::FrameInput& input) override;
  void frameDrawn(const Game& game) override;
  // After the game has ended: the verdict line and the exit status.
  int finish(const Game& game);
  // The bindings the recorded game started with.
  const BindingTable& bindings() const { return recording_.header.bindings; }

 private:
  struct Verdict {
    std::string line;
    int status;
  };
  void decide(const std::string& line, int status);
  void differs(std::uint32_t frame, const Checkpoint& expected, const Checkpoint& found);
  Verdict verdictAtEnd(const Game& game);
  int finishReplay();
  void keepRecordedPace(std::uint32_t now, std::uint32_t recorded);

  Recording recording_;
  PlaybackMode mode_;
  std::string name_;
  std::uint32_t served_ = 0;  // frames handed to the game so far
  std::uint32_t replayStart_ = 0;    // device ticks at the first replayed frame
  std::uint32_t recordedStart_ = 0;  // recorded ticks of that frame
  std::optional<Verdict> verdict_;
};

}  // namespace veldra::recording
