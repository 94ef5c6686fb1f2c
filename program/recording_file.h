#pragma once
// The recording file: a header, one record per frame, and a closing record, each record
// carrying its own CRC-32 so that a damaged or cut file is told apart from a good one.
//
//   "VELDRA DEMO\n"                       12 bytes, the file's mark
//   header   'H' length payload crc       version, generator state, start ticks, window,
//                                         the level files (name, present, size, CRC-32),
//                                         from version 4 the bindings (preset at start,
//                                         then each preset's actions: key count, keys,
//                                         stand-in)
//   frame    'F' length payload crc       one per frame: tick step, key changes, window
//                                         change, whether the keys are exact when that
//                                         changed, the mouse's turn when it turned, the
//                                         pointer's edge when that changed, the pad's
//                                         presence and turn when either changed, and every
//                                         60th frame the checksums of the composed frame
//                                         and of the game state
//   closing  'E' length payload crc       frames recorded, final frame and state checksums
//
// Numbers in payloads are unsigned LEB128 varints (the mouse's turn zigzag-coded first)
// except the checksums and CRCs, which are 4 bytes little-endian. A record's CRC covers its tag and payload.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/binding_table.h"
#include "platform/frame_input.h"

namespace veldra::recording {

// Version 2 records when the keys stop or start being exact (a terminal that sends only
// characters); version 1 recordings, which never say so, are read as exact throughout.
// Version 3 records the mouse's turn and where the pointer rests, and its state checksums
// cover the random generator too. Version 4 holds the bindings in force at the start in its
// header, its frames the pad (its buttons among the keys), and its frame checksums cover the
// message lines printed over the frame.
constexpr std::uint32_t kFormatVersion = 4;
constexpr std::uint32_t kOldestFormatVersion = 1;
constexpr int kCheckpointEvery = 60;  // frames

struct LevelFileSum {
  std::string name;
  bool present = false;
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  bool operator==(const LevelFileSum&) const = default;
};

struct Header {
  std::uint32_t version = kFormatVersion;
  std::uint32_t randState = 1;
  std::uint32_t startTicks = 0;
  bool console = false;
  int columns = 0;
  int rows = 0;
  std::vector<LevelFileSum> levels;
  BindingTable bindings = defaultBindings();  // the shipped ones before version 4
};

struct Checkpoint {
  std::uint32_t frame = 0;
  std::uint32_t state = 0;
  bool operator==(const Checkpoint&) const = default;
};

struct FrameRecord {
  platform::FrameInput input;             // what the game saw
  std::optional<Checkpoint> checkpoint;   // after the frame was drawn
};

struct Closing {
  std::uint32_t frames = 0;
  Checkpoint last;
};

struct Recording {
  Header header;
  std::vector<FrameRecord> frames;
  std::optional<Closing> closing;  // absent when the game was cut short (Ctrl+C, a crash)
};

// Bytes of each part, written in order as the game goes. A frame record is written
// against the previous frame's input (the first frame against a blank one with the
// header's ticks and window).
std::string encodeStart(const Header& header);
std::string encodeFrameRecord(const platform::FrameInput& previous, const FrameRecord& frame);
std::string encodeClosing(const Closing& closing);

// The input a first frame is encoded against.
platform::FrameInput startingInput(const Header& header);

// Reads a whole recording. On failure, `error` says what is wrong in a few words.
std::optional<Recording> decode(const std::string& bytes, std::string& error);

}  // namespace veldra::recording
