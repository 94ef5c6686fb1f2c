#include "platform/terminal/frame_encoder.h"

#include <array>
#include <cmath>
#include <cstring>

#include "platform/terminal/cp437.h"

namespace veldra::platform::terminal {
namespace {

constexpr const char* kResetAndClear = "\x1b[0m\x1b[2J";
// Moving right along a row is shorter as a cursor-forward than as a full position.
constexpr const char* kCursorForward = "C";

constexpr std::size_t kMostDigits = 10;  // of an unsigned 32-bit number

// `value`'s decimal digits, most significant first, written to `digits`; returns how many.
std::size_t decimalDigits(int value, char* digits) {
  char reversed[kMostDigits];
  std::size_t count = 0;
  unsigned v = static_cast<unsigned>(value);
  do {
    reversed[count++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  for (std::size_t i = 0; i < count; ++i) digits[i] = reversed[count - 1 - i];
  return count;
}

void appendNumber(std::string& out, int value) {
  char digits[kMostDigits];
  out.append(digits, decimalDigits(value, digits));
}

// A mode's colour escapes, built once: both halves of every attribute, and each half alone.
struct ColourEscapes {
  std::array<std::string, 256> both;
  std::array<std::string, 16> foreground;
  std::array<std::string, 16> background;
};

ColourEscapes buildEscapes(ColourMode mode) {
  ColourEscapes escapes;
  for (int colour = 0; colour < 16; ++colour) {
    escapes.foreground[colour] = "\x1b[" + foregroundParameters(colour, mode) + "m";
    escapes.background[colour] = "\x1b[" + backgroundParameters(colour, mode) + "m";
  }
  for (int attribute = 0; attribute < 256; ++attribute) {
    escapes.both[attribute] =
        "\x1b[" + foregroundParameters(attribute & 0xF, mode) + ";" + backgroundParameters(attribute >> 4, mode) + "m";
  }
  return escapes;
}

const ColourEscapes& escapesFor(ColourMode mode) {
  static const std::array<ColourEscapes, 3> escapes = {buildEscapes(ColourMode::Sixteen),
                                                       buildEscapes(ColourMode::Palette256),
                                                       buildEscapes(ColourMode::TrueColour)};
  return escapes[static_cast<std::size_t>(mode)];
}

// The halves of the colours a glyph lets the eye see: a space shows only its background, a
// full block only its foreground. The other half may be whatever the terminal has.
std::uint16_t visibleMask(char glyph) {
  if (glyph == ' ') return 0xF0;
  if (glyph == kFullBlock) return 0x0F;
  return 0xFF;
}

// `shown` holds only the low byte, the part a terminal can show.
bool sameCell(const CHAR_INFO& cell, const CHAR_INFO& shown) {
  const std::uint16_t visible = visibleMask(cell.Char.AsciiChar);
  return cell.Char.AsciiChar == shown.Char.AsciiChar && shown.Attributes != kUnknownAttribute &&
         (cell.Attributes & visible) == (shown.Attributes & visible);
}

// A cell's bytes as one number, so that a cell as it was is told by one comparison.
std::uint32_t cellBits(const CHAR_INFO& cell) {
  std::uint32_t bits = 0;
  static_assert(sizeof(CHAR_INFO) == sizeof(bits));
  std::memcpy(&bits, &cell, sizeof(bits));
  return bits;
}

// Most cells are as they were, colours and all: those are told by two comparisons before
// the glyph's visible halves are looked at.
bool unchangedCell(const CHAR_INFO& cell, const CHAR_INFO& shown) {
  if (cell.Char.AsciiChar == shown.Char.AsciiChar && cell.Attributes == shown.Attributes) {
    return shown.Attributes != kUnknownAttribute;
  }
  return sameCell(cell, shown);
}

// The colours to have for a glyph: the wanted ones where they show, the current ones where
// they do not (so nothing is sent for an unseen half).
std::uint16_t coloursFor(char glyph, std::uint16_t wanted, std::uint16_t current) {
  if (current == kUnknownAttribute) return wanted;
  const std::uint16_t visible = visibleMask(glyph);
  return static_cast<std::uint16_t>((wanted & visible) | (current & ~visible & 0xFF));
}

void startModel(ScreenModel& model, int width, int height, std::string& out) {
  model.width = width;
  model.height = height;
  CHAR_INFO unknown{};
  unknown.Attributes = kUnknownAttribute;
  model.shown.assign(static_cast<std::size_t>(width) * height, unknown);
  model.rowHasUnknown.assign(static_cast<std::size_t>(height), true);
  model.attribute = kUnknownAttribute;
  out += kResetAndClear;
}

}  // namespace

void appendAttribute(std::string& out, std::uint16_t attribute, ColourMode mode) {
  out += escapesFor(mode).both[attribute & 0xFF];
}

void appendCursorPosition(std::string& out, int column, int row) {
  out += "\x1b[";
  appendNumber(out, row + 1);
  out.push_back(';');
  appendNumber(out, column + 1);
  out.push_back('H');
}

namespace {

// A sound's numbers are kept within what a tone can be, so the sequence stays short and a
// NaN never reaches the terminal.
constexpr double kHighestSoundHz = 100000.0;
constexpr double kLongestSoundSeconds = 600.0;

// `value` within [0, highest], in units of 1/scale, as digits with `decimals` after the point.
void appendFixed(std::string& out, double value, double highest, int scale, int decimals) {
  const double within = std::isnan(value) ? 0.0 : std::fmin(std::fmax(value, 0.0), highest);
  const long long units = std::llround(within * scale);
  appendNumber(out, static_cast<int>(units / scale));
  if (decimals == 0) return;
  out.push_back('.');
  std::string fraction = std::to_string(units % scale);
  out.append(static_cast<std::size_t>(decimals) - fraction.size(), '0');
  out += fraction;
}

}  // namespace

void appendSoundRequest(std::string& out, const SoundRequest& request) {
  out += "\x1b]7707;";
  appendFixed(out, request.startHz, kHighestSoundHz, 100, 2);
  out.push_back(';');
  appendFixed(out, request.endHz, kHighestSoundHz, 100, 2);
  out.push_back(';');
  appendFixed(out, request.seconds * 1000.0, kLongestSoundSeconds * 1000.0, 1, 0);
  out.push_back(';');
  appendFixed(out, request.volume, 1.0, 10000, 4);
  out.push_back('\a');
}

namespace {

// Where the terminal's cursor is while a frame is encoded; -1 before the first cell.
struct Cursor {
  int row = -1;
  int column = -1;
};

// The frame's cells' bytes as they are encoded, in a buffer the model keeps (it grows to the
// largest frame sent, so a steady frame allocates nothing), written through a plain index:
// the frame's string takes them in one append at the end. Room for the most bytes a cell can
// need is made before each cell.
class FrameBytes {
 public:
  explicit FrameBytes(std::vector<char>& buffer) : buffer_(buffer) {}
  void makeRoomForCell() {
    if (buffer_.size() - length_ < kMostCellBytes) buffer_.resize(2 * buffer_.size() + kMostCellBytes);
  }
  void add(std::string_view text) {
    if (text.size() == 1) {
      buffer_[length_++] = text.front();
      return;
    }
    std::memcpy(buffer_.data() + length_, text.data(), text.size());
    length_ += text.size();
  }
  void addNumber(int value) { length_ += decimalDigits(value, buffer_.data() + length_); }
  void addChar(char c) { buffer_[length_++] = c; }
  void appendTo(std::string& out) const { out.append(buffer_.data(), length_); }

 private:
  // A full position (two numbers of up to ten digits), both halves of a 24-bit colour and a
  // glyph of up to four bytes, with room to spare.
  static constexpr std::size_t kMostCellBytes = 96;
  std::vector<char>& buffer_;
  std::size_t length_ = 0;
};

void moveTo(Cursor& cursor, int column, int row, FrameBytes& out) {
  if (row == cursor.row && column > cursor.column) {
    out.add("\x1b[");
    out.addNumber(column - cursor.column);
    out.add(kCursorForward);
  } else if (row != cursor.row || column != cursor.column) {
    out.add("\x1b[");
    out.addNumber(row + 1);
    out.addChar(';');
    out.addNumber(column + 1);
    out.addChar('H');
  }
}

// Sends only what differs from the terminal's current colours.
void addColourChange(FrameBytes& out, std::uint16_t shown, std::uint16_t wanted, ColourMode mode) {
  const ColourEscapes& escapes = escapesFor(mode);
  const bool foregroundSame = shown != kUnknownAttribute && (shown & 0x0F) == (wanted & 0x0F);
  const bool backgroundSame = shown != kUnknownAttribute && (shown & 0xF0) == (wanted & 0xF0);
  if (backgroundSame) out.add(escapes.foreground[wanted & 0x0F]);
  else if (foregroundSame) out.add(escapes.background[(wanted >> 4) & 0x0F]);
  else out.add(escapes.both[wanted & 0xFF]);
}

void sendCell(ScreenModel& model, Cursor& cursor, const CHAR_INFO& cell, int column, int row, FrameBytes& out) {
  out.makeRoomForCell();
  moveTo(cursor, column, row, out);
  const std::uint16_t attribute = coloursFor(cell.Char.AsciiChar, cell.Attributes & 0xFF, model.attribute);
  if (attribute != model.attribute) {
    addColourChange(out, model.attribute, attribute, model.colours);
    model.attribute = attribute;
  }
  out.add(cp437ToUtf8(static_cast<unsigned char>(cell.Char.AsciiChar)));
  CHAR_INFO& shown = model.shown[static_cast<std::size_t>(row) * model.width + column];
  shown.Char.AsciiChar = cell.Char.AsciiChar;
  shown.Attributes = attribute;
  cursor.row = row;
  cursor.column = column + 1;
}

// Where a colour escape costs more than a cursor jump (256 and 24-bit colour), a row's
// changed cells go out a colour at a time: first every cell the current colours already
// suit, then, from the leftmost cell left, the next colours, and so on.
void sendRowByColour(ScreenModel& model, Cursor& cursor, const CHAR_INFO* rowCells, int row,
                     std::vector<int>& columns, FrameBytes& out) {
  while (!columns.empty()) {
    std::size_t kept = 0;
    for (const int column : columns) {
      const CHAR_INFO& cell = rowCells[column];
      const bool suited = model.attribute != kUnknownAttribute &&
                          coloursFor(cell.Char.AsciiChar, cell.Attributes & 0xFF, model.attribute) == model.attribute;
      if (suited) sendCell(model, cursor, cell, column, row, out);
      else columns[kept++] = column;
    }
    columns.resize(kept);
    if (columns.empty()) return;
    sendCell(model, cursor, rowCells[columns.front()], columns.front(), row, out);
    columns.erase(columns.begin());
  }
}

}  // namespace

void encodeFrame(ScreenModel& model, const CHAR_INFO* cells, int width, int height, std::string& out) {
  if (width <= 0 || height <= 0) return;
  out += kBeginSynchronized;
  if (width != model.width || height != model.height || model.shown.empty()) startModel(model, width, height, out);
  Cursor cursor;
  FrameBytes bytes(model.frameBytes);
  std::vector<int>& changed = model.changedColumns;
  for (int row = 0; row < height; ++row) {
    const CHAR_INFO* rowCells = cells + static_cast<std::size_t>(row) * width;
    const CHAR_INFO* rowShown = model.shown.data() + static_cast<std::size_t>(row) * width;
    // Most rows of most frames are as they were: one comparison of their bytes tells.
    const auto rowIndex = static_cast<std::size_t>(row);
    if (!model.rowHasUnknown[rowIndex] &&
        std::memcmp(rowCells, rowShown, static_cast<std::size_t>(width) * sizeof(CHAR_INFO)) == 0) {
      continue;
    }
    const bool mayHaveUnknown = model.rowHasUnknown[rowIndex];
    model.rowHasUnknown[rowIndex] = false;  // every unknown cell is sent below
    changed.clear();
    for (int column = 0; column < width; ++column) {
      if (!mayHaveUnknown && cellBits(rowCells[column]) == cellBits(rowShown[column])) continue;
      if (!unchangedCell(rowCells[column], rowShown[column])) changed.push_back(column);
    }
    if (model.colours == ColourMode::Sixteen) {
      for (const int column : changed) sendCell(model, cursor, rowCells[column], column, row, bytes);
    } else {
      sendRowByColour(model, cursor, rowCells, row, changed, bytes);
    }
  }
  bytes.appendTo(out);
  out += kEndSynchronized;
}

void forgetCells(ScreenModel& model, int column, int row, int count) {
  if (row < 0 || row >= model.height) return;
  model.rowHasUnknown[static_cast<std::size_t>(row)] = true;
  for (int k = 0; k < count; ++k) {
    const int c = column + k;
    if (c < 0 || c >= model.width) continue;
    model.shown[static_cast<std::size_t>(row) * model.width + c].Attributes = kUnknownAttribute;
  }
}

void forgetScreen(ScreenModel& model) {
  model.width = 0;
  model.height = 0;
  model.shown.clear();
  model.rowHasUnknown.clear();
  model.attribute = kUnknownAttribute;
}

}  // namespace veldra::platform::terminal
