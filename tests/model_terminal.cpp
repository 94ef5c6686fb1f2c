#include "model_terminal.h"

namespace veldra::testing {
namespace {

constexpr char kEscape = '\x1b';
constexpr char kCancel = '\x18';
constexpr const char* kReplacement = "\xef\xbf\xbd";

// ANSI numbers are red 1, green 2, blue 4; console colour bits blue 1, green 2, red 4.
int consoleColour(int ansi) { return ((ansi & 1) << 2) | (ansi & 2) | ((ansi & 4) >> 2); }

constexpr int kCubeLevels[] = {0, 95, 135, 175, 215, 255};

std::size_t utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

}  // namespace

Rgb xtermColour(int index) {
  if (index < 16) return platform::terminal::kConsolePalette[static_cast<std::size_t>(consoleColour(index & 7) | (index & 8))];
  if (index >= 232) {
    const auto grey = static_cast<std::uint8_t>(8 + 10 * (index - 232));
    return {grey, grey, grey};
  }
  const int cube = index - 16;
  return {static_cast<std::uint8_t>(kCubeLevels[cube / 36]), static_cast<std::uint8_t>(kCubeLevels[cube / 6 % 6]),
          static_cast<std::uint8_t>(kCubeLevels[cube % 6])};
}

ModelTerminal::ModelTerminal(int columns, int rows)
    : columns_(columns), rows_(rows), cells_(static_cast<std::size_t>(columns * rows)) {}

void ModelTerminal::print(std::string glyph) {
  if (pendingWrap_) {
    pendingWrap_ = false;
    column_ = 0;
    if (++row_ >= rows_) {
      // Scrolling: everything moves up a row.
      cells_.erase(cells_.begin(), cells_.begin() + columns_);
      cells_.resize(static_cast<std::size_t>(columns_ * rows_));
      row_ = rows_ - 1;
    }
  }
  cells_[static_cast<std::size_t>(row_ * columns_ + column_)] =
      ModelCell{std::move(glyph), attribute(), foregroundRgb_, backgroundRgb_};
  if (column_ == columns_ - 1) pendingWrap_ = true;
  else ++column_;
}

std::uint16_t ModelTerminal::attribute() const {
  if (foreground_ < 0 || background_ < 0) return kDefaultColours;
  return static_cast<std::uint16_t>(foreground_ | background_ << 4);
}

// 5;N (an entry of the 256) or 2;R;G;B after a 38 or 48.
bool ModelTerminal::extendedColour(const std::vector<int>& parameters, std::size_t& at, Rgb& colour) {
  if (at + 1 < parameters.size() && parameters[at] == 5 && parameters[at + 1] <= 255) {
    colour = xtermColour(parameters[at + 1]);
    at += 2;
    return true;
  }
  if (at + 3 < parameters.size() && parameters[at] == 2 && parameters[at + 1] <= 255 && parameters[at + 2] <= 255 &&
      parameters[at + 3] <= 255) {
    colour = {static_cast<std::uint8_t>(parameters[at + 1]), static_cast<std::uint8_t>(parameters[at + 2]),
              static_cast<std::uint8_t>(parameters[at + 3])};
    at += 4;
    return true;
  }
  return false;
}

bool ModelTerminal::colours(const std::vector<int>& parameters) {
  if (parameters.empty()) return false;
  for (std::size_t at = 0; at < parameters.size();) {
    const int p = parameters[at++];
    const auto ansi = [&](int base, int bright, int& console, Rgb& rgb) {
      console = consoleColour(p - base) | bright;
      rgb = platform::terminal::kConsolePalette[static_cast<std::size_t>(console)];
    };
    if (p == 0 && parameters.size() == 1) {
      foreground_ = background_ = -1;
      foregroundRgb_ = backgroundRgb_ = Rgb{};
    } else if (p >= 30 && p <= 37) {
      ansi(30, 0, foreground_, foregroundRgb_);
    } else if (p >= 90 && p <= 97) {
      ansi(90, 8, foreground_, foregroundRgb_);
    } else if (p >= 40 && p <= 47) {
      ansi(40, 0, background_, backgroundRgb_);
    } else if (p >= 100 && p <= 107) {
      ansi(100, 8, background_, backgroundRgb_);
    } else if (p == 38 && extendedColour(parameters, at, foregroundRgb_)) {
      foreground_ = -1;
    } else if (p == 48 && extendedColour(parameters, at, backgroundRgb_)) {
      background_ = -1;
    } else {
      return false;
    }
  }
  return true;
}

// One whole escape sequence, ESC to final byte.
bool ModelTerminal::escape(std::string_view bytes) {
  if (bytes.size() < 3 || bytes[1] != '[') return false;
  std::size_t i = 2;
  const bool privateMode = i < bytes.size() && bytes[i] == '?';
  if (privateMode) ++i;
  std::vector<int> parameters;
  int value = -1;
  for (; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c >= '0' && c <= '9') {
      value = (value < 0 ? 0 : value * 10) + (c - '0');
      if (value > 100000) return false;
    } else if (c == ';') {
      parameters.push_back(value < 0 ? 0 : value);
      value = -1;
    } else {
      break;
    }
  }
  if (i != bytes.size() - 1) return false;
  if (value >= 0) parameters.push_back(value);
  const char final = bytes[i];
  if (privateMode) {
    if (parameters.size() != 1 || parameters[0] != 2026 || (final != 'h' && final != 'l')) return false;
    synchronized_ = final == 'h';
    return true;
  }
  switch (final) {
    case 'H': {
      if (parameters.size() != 2 || parameters[0] < 1 || parameters[1] < 1) return false;
      row_ = std::min(parameters[0], rows_) - 1;
      column_ = std::min(parameters[1], columns_) - 1;
      pendingWrap_ = false;
      return true;
    }
    case 'C': {
      if (parameters.size() != 1 || parameters[0] < 1) return false;
      column_ = std::min(column_ + parameters[0], columns_ - 1);
      pendingWrap_ = false;
      return true;
    }
    case 'J':
      if (parameters.size() != 1 || parameters[0] != 2) return false;
      for (ModelCell& cell : cells_) cell = ModelCell{" ", attribute(), foregroundRgb_, backgroundRgb_};
      return true;
    case 'm': return colours(parameters);
    case 'c': return parameters.empty();  // the pacing query (primary device attributes): shows nothing
  }
  return false;
}

// Where the escape sequence starting at `at` ends (one past its final byte); npos while it
// is still coming; `cancelled` when a CAN comes first (the CAN's position is returned).
// An operating-system command (ESC ]) ends at BEL.
std::size_t sequenceEnd(std::string_view bytes, std::size_t at, bool& cancelled) {
  cancelled = false;
  const bool command = at + 1 < bytes.size() && bytes[at + 1] == ']';
  for (std::size_t i = at + 1; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == kCancel) {
      cancelled = true;
      return i;
    }
    if (command) {
      if (c == '\a') return i + 1;
      continue;
    }
    if (i == at + 1) continue;  // the '['
    if (c >= 0x40 && c <= 0x7E) return i + 1;
  }
  return std::string_view::npos;
}

bool ModelTerminal::feed(std::string_view input) {
  const std::string data = pending_ + std::string(input);
  pending_.clear();
  const std::string_view bytes(data);
  for (std::size_t at = 0; at < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (bytes[at] == kCancel) {
      ++at;
      continue;
    }
    if (bytes[at] == kEscape) {
      bool cancelled = false;
      const std::size_t end = sequenceEnd(bytes, at, cancelled);
      if (end == std::string_view::npos) {
        pending_ = std::string(bytes.substr(at));
        return true;
      }
      if (cancelled) {
        at = end + 1;
        continue;
      }
      constexpr std::string_view kTone = "\x1b]7707;";
      if (bytes.substr(at, kTone.size()) == kTone) {
        tones_.emplace_back(bytes.substr(at + kTone.size(), end - 1 - at - kTone.size()));
        at = end;
        continue;
      }
      if (!escape(bytes.substr(at, end - at))) {
        error_ = "unknown escape at byte " + std::to_string(at);
        return false;
      }
      at = end;
      continue;
    }
    const std::size_t length = utf8Length(lead);
    if (lead < 0x20 || lead == 0x7F || length == 0 || (lead >= 0x80 && lead < 0xC0)) {
      error_ = "a byte no glyph starts with at byte " + std::to_string(at);
      return false;
    }
    std::size_t have = 1;
    while (have < length && at + have < bytes.size() &&
           (static_cast<unsigned char>(bytes[at + have]) & 0xC0) == 0x80) {
      ++have;
    }
    if (have < length) {
      if (at + have == bytes.size()) {
        pending_ = std::string(bytes.substr(at));
        return true;
      }
      print(kReplacement);  // cut off by what came next
      at += have;
      continue;
    }
    print(std::string(bytes.substr(at, length)));
    at += length;
  }
  return true;
}

}  // namespace veldra::testing
