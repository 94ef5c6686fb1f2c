#include "program/recording_file.h"

#include "program/checksum.h"

namespace veldra::recording {
namespace {

constexpr std::string_view kMark = "VELDRA DEMO\n";
constexpr char kHeaderTag = 'H';
constexpr char kFrameTag = 'F';
constexpr char kClosingTag = 'E';
constexpr std::uint8_t kWindowChanged = 1;
constexpr std::uint8_t kHasCheckpoint = 2;
constexpr std::uint8_t kKeysExactnessChanged = 4;  // from version 2 on
constexpr std::uint8_t kMouseTurned = 8;            // from version 3 on
constexpr std::uint8_t kPointerEdgeChanged = 16;    // from version 3 on
constexpr std::uint8_t kPadChanged = 32;            // from version 4 on: there or not, its turn
constexpr std::size_t kLargestRecord = 1 << 20;  // no record of ours comes near this

// ---- writing ----

void putVarint(std::string& out, std::uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

void putU32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string record(char tag, const std::string& payload) {
  std::string out(1, tag);
  putVarint(out, payload.size());
  out += payload;
  Crc32 crc;
  crc.add(&tag, 1);
  crc.add(payload);
  putU32(out, crc.value());
  return out;
}

void putWindow(std::string& out, bool console, int columns, int rows) {
  out.push_back(console ? 1 : 0);
  putVarint(out, static_cast<std::uint64_t>(columns));
  putVarint(out, static_cast<std::uint64_t>(rows));
}

// Small turns either way stay short: 0, -1, 1, -2, ... become 0, 1, 2, 3, ...
std::uint32_t zigzag(std::int32_t value) {
  return (static_cast<std::uint32_t>(value) << 1) ^ (value < 0 ? 0xFFFFFFFFu : 0u);
}
std::int32_t unzigzag(std::uint64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value >> 1) ^ (0u - static_cast<std::uint32_t>(value & 1)));
}

void putCheckpoint(std::string& out, const Checkpoint& checkpoint) {
  putU32(out, checkpoint.frame);
  putU32(out, checkpoint.state);
}

// ---- reading ----

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool atEnd() const { return at_ >= bytes_.size(); }
  std::size_t left() const { return bytes_.size() - at_; }
  bool byte(std::uint8_t& value) {
    if (atEnd()) return false;
    value = static_cast<std::uint8_t>(bytes_[at_++]);
    return true;
  }
  bool varint(std::uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      std::uint8_t b = 0;
      if (!byte(b)) return false;
      value |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if ((b & 0x80) == 0) return true;
    }
    return false;
  }
  bool smallInt(int& value, std::uint64_t limit) {
    std::uint64_t v = 0;
    if (!varint(v) || v > limit) return false;
    value = static_cast<int>(v);
    return true;
  }
  bool u32(std::uint32_t& value) {
    if (left() < 4) return false;
    value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes_[at_++])) << (8 * i);
    return true;
  }
  bool text(std::string& value, std::size_t length) {
    if (left() < length) return false;
    value.assign(bytes_.substr(at_, length));
    at_ += length;
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

constexpr std::uint64_t kLargestWindow = 10000;
constexpr std::uint64_t kLargestName = 4096;
constexpr std::uint64_t kMostLevels = 64;

bool readWindow(Reader& in, bool& console, int& columns, int& rows) {
  std::uint8_t flag = 0;
  if (!in.byte(flag) || flag > 1) return false;
  console = flag == 1;
  return in.smallInt(columns, kLargestWindow) && in.smallInt(rows, kLargestWindow);
}

bool readKey(Reader& in, std::int32_t& key) {
  int value = 0;
  if (!in.smallInt(value, platform::kVirtualKeyCount - 1)) return false;
  key = value;
  return true;
}

bool readBindings(Reader& in, BindingTable& table) {
  std::uint8_t preset = 0;
  if (!in.byte(preset) || preset >= kPresetCount) return false;
  table.presetAtStart = preset;
  for (PresetBinding& binding : table.presets) {
    for (ActionBinding& action : binding.actions) {
      action = ActionBinding{};
      if (!in.smallInt(action.keyCount, kMaxKeysPerAction)) return false;
      for (int k = 0; k < action.keyCount; ++k) {
        if (!readKey(in, action.keys[k])) return false;
      }
      if (!readKey(in, action.standIn)) return false;
    }
  }
  return true;
}

void putBindings(std::string& payload, const BindingTable& table) {
  payload.push_back(static_cast<char>(table.presetAtStart));
  for (const PresetBinding& binding : table.presets) {
    for (const ActionBinding& action : binding.actions) {
      putVarint(payload, static_cast<std::uint64_t>(action.keyCount));
      for (int k = 0; k < action.keyCount; ++k) putVarint(payload, static_cast<std::uint64_t>(action.keys[k]));
      putVarint(payload, static_cast<std::uint64_t>(action.standIn));
    }
  }
}

bool readHeader(std::string_view payload, Header& header) {
  Reader in(payload);
  std::uint64_t version = 0;
  if (!in.varint(version)) return false;
  header.version = static_cast<std::uint32_t>(version);
  if (header.version < kOldestFormatVersion || header.version > kFormatVersion) return true;  // the caller names it
  std::uint64_t levels = 0;
  if (!in.u32(header.randState) || !in.u32(header.startTicks) ||
      !readWindow(in, header.console, header.columns, header.rows) || !in.varint(levels) || levels > kMostLevels) {
    return false;
  }
  for (std::uint64_t i = 0; i < levels; ++i) {
    LevelFileSum level;
    std::uint64_t length = 0;
    std::uint8_t present = 0;
    if (!in.varint(length) || length > kLargestName || !in.text(level.name, length) || !in.byte(present) ||
        present > 1 || !in.varint(level.size) || !in.u32(level.crc)) {
      return false;
    }
    level.present = present == 1;
    header.levels.push_back(level);
  }
  if (header.version >= 4 && !readBindings(in, header.bindings)) return false;
  return in.atEnd();
}

std::uint8_t frameFlagsOf(std::uint32_t version) {
  return kWindowChanged | kHasCheckpoint | (version >= 2 ? kKeysExactnessChanged : 0) |
         (version >= 3 ? kMouseTurned | kPointerEdgeChanged : 0) | (version >= 4 ? kPadChanged : 0);
}

bool readMouseAndPad(Reader& in, std::uint8_t flags, platform::FrameInput& input) {
  if (flags & kMouseTurned) {
    std::uint64_t turn = 0;
    if (!in.varint(turn) || turn > 0xFFFFFFFFu) return false;
    input.mouseTurn = unzigzag(turn);
  }
  if (flags & kPointerEdgeChanged) {
    std::uint8_t edge = 0;
    if (!in.byte(edge) || edge > 2) return false;
    input.pointerEdge = static_cast<std::int8_t>(edge - 1);
  }
  if (flags & kPadChanged) {
    std::uint8_t present = 0;
    std::uint64_t turn = 0;
    if (!in.byte(present) || present > 1 || !in.varint(turn) || turn > 0xFFFFFFFFu) return false;
    input.padPresent = present == 1;
    input.padTurn = unzigzag(turn);
  }
  return true;
}

bool readFrame(std::string_view payload, const platform::FrameInput& previous, std::uint8_t knownFlags,
               FrameRecord& frame) {
  Reader in(payload);
  frame.input = previous;
  frame.input.mouseTurn = 0;  // a turn is the frame's own; the pointer's edge lasts
  frame.input.padTurn = 0;    // so is the pad's; whether it is there lasts
  std::uint64_t step = 0;
  std::uint64_t changes = 0;
  if (!in.varint(step) || step > 0xFFFFFFFFu || !in.varint(changes) ||
      changes > static_cast<std::uint64_t>(platform::kVirtualKeyCount)) {
    return false;
  }
  frame.input.ticks = previous.ticks + static_cast<std::uint32_t>(step);
  for (std::uint64_t i = 0; i < changes; ++i) {
    std::uint8_t key = 0;
    std::uint8_t down = 0;
    if (!in.byte(key) || !in.byte(down) || down > 1) return false;
    frame.input.keys[key] = down == 1;
  }
  std::uint8_t flags = 0;
  if (!in.byte(flags) || (flags & ~knownFlags) != 0) return false;
  if (flags & kKeysExactnessChanged) frame.input.keysExact = !previous.keysExact;
  if ((flags & kWindowChanged) &&
      !readWindow(in, frame.input.console, frame.input.columns, frame.input.rows)) {
    return false;
  }
  if (!readMouseAndPad(in, flags, frame.input)) return false;
  if (flags & kHasCheckpoint) {
    Checkpoint checkpoint;
    if (!in.u32(checkpoint.frame) || !in.u32(checkpoint.state)) return false;
    frame.checkpoint = checkpoint;
  }
  return in.atEnd();
}

bool readClosing(std::string_view payload, Closing& closing) {
  Reader in(payload);
  std::uint64_t frames = 0;
  if (!in.varint(frames) || frames > 0xFFFFFFFFu) return false;
  closing.frames = static_cast<std::uint32_t>(frames);
  return in.u32(closing.last.frame) && in.u32(closing.last.state) && in.atEnd();
}

// One record: its tag and payload once its length and CRC check out.
enum class Next { Record, End, Cut, Damaged };
Next nextRecord(Reader& in, char& tag, std::string& payload) {
  if (in.atEnd()) return Next::End;
  std::uint8_t t = 0;
  std::uint64_t length = 0;
  std::uint32_t stored = 0;
  in.byte(t);
  tag = static_cast<char>(t);
  if (tag != kHeaderTag && tag != kFrameTag && tag != kClosingTag) return Next::Damaged;
  if (!in.varint(length)) return Next::Cut;
  if (length > kLargestRecord) return Next::Damaged;
  if (!in.text(payload, length) || !in.u32(stored)) return Next::Cut;
  Crc32 crc;
  crc.add(&tag, 1);
  crc.add(payload);
  return crc.value() == stored ? Next::Record : Next::Damaged;
}

}  // namespace

platform::FrameInput startingInput(const Header& header) {
  platform::FrameInput input;
  input.ticks = header.startTicks;
  input.console = header.console;
  input.columns = header.columns;
  input.rows = header.rows;
  return input;
}

std::string encodeStart(const Header& header) {
  std::string payload;
  putVarint(payload, header.version);
  putU32(payload, header.randState);
  putU32(payload, header.startTicks);
  putWindow(payload, header.console, header.columns, header.rows);
  putVarint(payload, header.levels.size());
  for (const LevelFileSum& level : header.levels) {
    putVarint(payload, level.name.size());
    payload += level.name;
    payload.push_back(level.present ? 1 : 0);
    putVarint(payload, level.size);
    putU32(payload, level.crc);
  }
  if (header.version >= 4) putBindings(payload, header.bindings);
  return std::string(kMark) + record(kHeaderTag, payload);
}

std::string encodeFrameRecord(const platform::FrameInput& previous, const FrameRecord& frame) {
  const platform::FrameInput& input = frame.input;
  std::string payload;
  putVarint(payload, static_cast<std::uint32_t>(input.ticks - previous.ticks));
  std::string changes;
  int count = 0;
  for (int key = 0; key < platform::kVirtualKeyCount; ++key) {
    const auto k = static_cast<std::size_t>(key);
    if (input.keys[k] == previous.keys[k]) continue;
    changes.push_back(static_cast<char>(key));
    changes.push_back(input.keys[k] ? 1 : 0);
    ++count;
  }
  putVarint(payload, static_cast<std::uint64_t>(count));
  payload += changes;
  const bool windowChanged =
      input.console != previous.console || input.columns != previous.columns || input.rows != previous.rows;
  const bool exactnessChanged = input.keysExact != previous.keysExact;
  const bool edgeChanged = input.pointerEdge != previous.pointerEdge;
  const bool padChanged = input.padPresent != previous.padPresent || input.padTurn != 0;
  payload.push_back(static_cast<char>((windowChanged ? kWindowChanged : 0) | (frame.checkpoint ? kHasCheckpoint : 0) |
                                      (exactnessChanged ? kKeysExactnessChanged : 0) |
                                      (input.mouseTurn != 0 ? kMouseTurned : 0) |
                                      (edgeChanged ? kPointerEdgeChanged : 0) | (padChanged ? kPadChanged : 0)));
  if (windowChanged) putWindow(payload, input.console, input.columns, input.rows);
  if (input.mouseTurn != 0) putVarint(payload, zigzag(input.mouseTurn));
  if (edgeChanged) payload.push_back(static_cast<char>(input.pointerEdge + 1));
  if (padChanged) {
    payload.push_back(input.padPresent ? 1 : 0);
    putVarint(payload, zigzag(input.padTurn));
  }
  if (frame.checkpoint) putCheckpoint(payload, *frame.checkpoint);
  return record(kFrameTag, payload);
}

std::string encodeClosing(const Closing& closing) {
  std::string payload;
  putVarint(payload, closing.frames);
  putCheckpoint(payload, closing.last);
  return record(kClosingTag, payload);
}

std::optional<Recording> decode(const std::string& bytes, std::string& error) {
  if (bytes.empty()) {
    error = "the file is empty";
    return std::nullopt;
  }
  if (bytes.size() < kMark.size() || std::string_view(bytes).substr(0, kMark.size()) != kMark) {
    error = "not a Veldra recording";
    return std::nullopt;
  }
  Reader in(std::string_view(bytes).substr(kMark.size()));
  Recording recording;
  char tag = 0;
  std::string payload;
  if (nextRecord(in, tag, payload) != Next::Record || tag != kHeaderTag || !readHeader(payload, recording.header)) {
    error = "the header is damaged";
    return std::nullopt;
  }
  if (recording.header.version < kOldestFormatVersion || recording.header.version > kFormatVersion) {
    error = "format version " + std::to_string(recording.header.version) + " is not supported (this game reads " +
            std::to_string(kOldestFormatVersion) + " to " + std::to_string(kFormatVersion) + ")";
    return std::nullopt;
  }
  platform::FrameInput previous = startingInput(recording.header);
  for (;;) {
    const std::string where = "frame " + std::to_string(recording.frames.size() + 1);
    const Next next = nextRecord(in, tag, payload);
    if (next == Next::End) return recording;
    if (next == Next::Cut) {
      error = "the file is cut short in " + (recording.closing ? std::string("its closing record") : where);
      return std::nullopt;
    }
    if (recording.closing) {
      error = "something follows the closing record";
      return std::nullopt;
    }
    if (next == Next::Damaged || tag == kHeaderTag) {
      error = tag == kClosingTag ? "the closing record is damaged" : where + " is damaged";
      return std::nullopt;
    }
    if (tag == kClosingTag) {
      Closing closing;
      if (!readClosing(payload, closing)) {
        error = "the closing record is damaged";
        return std::nullopt;
      }
      if (closing.frames != recording.frames.size()) {
        error = "the closing record counts " + std::to_string(closing.frames) + " frames, the file holds " +
                std::to_string(recording.frames.size());
        return std::nullopt;
      }
      recording.closing = closing;
      continue;
    }
    FrameRecord frame;
    if (!readFrame(payload, previous, frameFlagsOf(recording.header.version), frame)) {
      error = where + " is damaged";
      return std::nullopt;
    }
    previous = frame.input;
    recording.frames.push_back(frame);
  }
}

}  // namespace veldra::recording
