#include "model_terminal.h"

namespace veldra::testing {
namespace {

constexpr char kEscape = '\x1b';
constexpr char kCancel = '\x18';
constexpr const char* kReplacement = "\xef\xbf\xbd";

// ANSI numbers are red 1, green 2, blue 4; console colour bits blue 1, green 2, red 4.
int consoleColour(int ansi) { return ((ansi & 1) << 2) | (ansi & 2) | ((ansi & 4) >> 2); }

std::size_t utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

}  // namespace

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
  cells_[static_cast<std::size_t>(row_ * columns_ + column_)] = ModelCell{std::move(glyph), attribute_};
  if (column_ == columns_ - 1) pendingWrap_ = true;
  else ++column_;
}

bool ModelTerminal::colours(const std::vector<int>& parameters) {
  if (parameters.size() == 1 && parameters[0] == 0) {
    attribute_ = kDefaultColours;
    return true;
  }
  if (parameters.size() != 2) return false;
  const int foreground = parameters[0];
  const int background = parameters[1];
  int attribute = 0;
  if (foreground >= 30 && foreground <= 37) attribute = consoleColour(foreground - 30);
  else if (foreground >= 90 && foreground <= 97) attribute = consoleColour(foreground - 90) | 8;
  else return false;
  if (background >= 40 && background <= 47) attribute |= consoleColour(background - 40) << 4;
  else if (background >= 100 && background <= 107) attribute |= (consoleColour(background - 100) | 8) << 4;
  else return false;
  attribute_ = static_cast<std::uint16_t>(attribute);
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
      for (ModelCell& cell : cells_) cell = ModelCell{" ", attribute_};
      return true;
    case 'm': return colours(parameters);
  }
  return false;
}

// Where the escape sequence starting at `at` ends (one past its final byte); npos while it
// is still coming; `cancelled` when a CAN comes first (the CAN's position is returned).
std::size_t sequenceEnd(std::string_view bytes, std::size_t at, bool& cancelled) {
  cancelled = false;
  for (std::size_t i = at + 1; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == kCancel) {
      cancelled = true;
      return i;
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
