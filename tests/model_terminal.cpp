#include "model_terminal.h"

namespace veldra::testing {
namespace {

constexpr char kEscape = '\x1b';

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

// One escape sequence starting at `at` (the ESC); `at` ends past it.
bool ModelTerminal::escape(std::string_view bytes, std::size_t& at) {
  if (at + 1 >= bytes.size() || bytes[at + 1] != '[') return false;
  std::size_t i = at + 2;
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
  if (i >= bytes.size()) return false;
  if (value >= 0) parameters.push_back(value);
  const char final = bytes[i];
  at = i + 1;
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

bool ModelTerminal::feed(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead == static_cast<unsigned char>(kEscape)) {
      const std::size_t start = at;
      if (!escape(bytes, at)) {
        error_ = "unknown escape at byte " + std::to_string(start);
        return false;
      }
      continue;
    }
    const std::size_t length = utf8Length(lead);
    if (lead < 0x20 || lead == 0x7F || length == 0 || at + length > bytes.size()) {
      error_ = "a byte no glyph starts with at byte " + std::to_string(at);
      return false;
    }
    print(std::string(bytes.substr(at, length)));
    at += length;
  }
  return true;
}

}  // namespace veldra::testing
